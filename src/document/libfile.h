#pragma once

#include "pattern.h"
#include "platform/fileio.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace orvane {

class LibMessage;
class PatternStream;
class SettingsStore;
class TemporaryPicture;

// Reads a pattern file into a Pattern: header, settings, every line and shape
// record, and the picture, which is copied to the temporary picture file.
// Everything that fails ends in ReadPattern's one failure path, which shows
// the message.
class LibFile {
public:
    // The most a pattern file can hold (two 32767-byte texts, the settings,
    // 32767 records of each kind and a picture of 32767 whole blocks); bytes
    // beyond are never read.
    static constexpr std::size_t MaxPatternBytes = std::size_t(40) << 20;

    struct Services {
        LibMessage &messages;
        SettingsStore &settings;
        // Without one, a picture is not copied and nothing is said about it.
        TemporaryPicture *picture = nullptr;
    };

    explicit LibFile(Services services) : m_s(services) {}

    // The existence check, then the load; each failure has shown its message.
    bool LoadPattern(const std::string &fileName);
    bool ReadPattern(const std::string &fileName);
    bool ReadPattern(std::span<const unsigned char> bytes);
    bool FileExists(const std::string &path, bool showMessage);

    // The last pattern read; after a failed read, what was read before the
    // failure.
    const Pattern &pattern() const { return m_pattern; }

private:
    bool readAll(PatternStream &file);
    void CopyPicture();

    Services m_s;
    Pattern m_pattern;
    std::string m_settingAtFault;
    // The last file read; kept so that a batch reuses its storage.
    FileBytes m_fileBytes;
};

} // namespace orvane
