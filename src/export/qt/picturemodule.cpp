#include "pictureencoders.h"

extern "C" __attribute__((visibility("default"))) const orvane::PictureEncoders *orvanePictureEncoders()
{
    return &orvane::pictureEncoders();
}
