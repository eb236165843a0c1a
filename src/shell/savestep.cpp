#include "savestep.h"

#include "os/fileio.h"
#include "shell/libid.h"
#include "shell/messagebox.h"

namespace orvane {

bool SaveMetafile(const ExportOptions &options, const PageElements &page, MessageBox &box, const SaveOptions &save)
{
    const EncodedPage built = encodePage(page, options);
    std::string reason = built.reason;
    if (built.error == SceneError::None && reason.empty()
        && WriteFileReplacing(options.path, built.bytes, reason, save))
        return true;
    box.beep();
    box.showMessage(saveErrorText(options.format, options.path, built.error, reason), MessageExclamation,
                    LibId::ApplicationTitle());
    return false;
}

} // namespace orvane
