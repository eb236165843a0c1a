#pragma once

#include "export/pageencoding.h"
#include "os/fileio.h"

namespace orvane {

class MessageBox;

// The window's save: builds the file and writes it, replacing any file at the
// path only when the whole new file is on disk. A failure beeps and shows why.
bool SaveMetafile(const ExportOptions &options, const PageElements &page, MessageBox &box,
                  const SaveOptions &save = {});

} // namespace orvane
