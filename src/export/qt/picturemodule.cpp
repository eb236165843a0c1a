#include "pictureencoders.h"

extern "C" __attribute__((visibility("default"))) const orvane::PictureModule *orvanePictureModule()
{
    return &orvane::pictureModule();
}
