#pragma once

#include "document/patternformat.h"

#include <cstdint>
#include <string>

namespace orvane {

class LibDimension;
class LibMessage;
class LibProgress;
class MirrorForm;
class PatternStream;
class SettingsStore;
class TemporaryPicture;
class WorkForm;

// Loads a pattern file onto the work window: header, settings, one element
// per line and shape record (mirrored), and the picture into the temporary
// picture file. Everything that fails ends in ReadPattern's one failure path.
class LibFile {
public:
    struct Services {
        LibDimension &dimension;
        MirrorForm &mirror;
        WorkForm &workForm;
        LibProgress &progress;
        LibMessage &messages;
        SettingsStore &settings;
        TemporaryPicture &picture;
    };

    explicit LibFile(Services services) : m_s(services) {}

    // The existence check, then the load; each failure has shown its message.
    bool LoadPattern(const std::string &fileName);
    bool ReadPattern(const std::string &fileName);
    bool FileExists(const std::string &path, bool showMessage);

    const PatternHeader &header() const { return m_header; }
    // Path of the picture copy of the last load; empty when it had none or the
    // copy failed.
    const std::string &temporaryPicturePath() const { return m_picturePath; }
    long long pictureBytes() const { return m_pictureBytes; }

private:
    bool readAll(PatternStream &file);
    template <typename Reserve, typename ReadOne>
    bool readRecords(PatternStream &file, const char *header, Reserve reserve, ReadOne readOne);
    bool ReadLineRecord(PatternStream &file);
    bool ReadShapeRecord(PatternStream &file);
    bool ReadPicture(PatternStream &file);
    bool CopyPicture(PatternStream &file);

    Services m_s;
    PatternHeader m_header;
    std::string m_picturePath;
    long long m_pictureBytes = 0;
};

} // namespace orvane
