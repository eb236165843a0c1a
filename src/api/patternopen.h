#pragma once

#include "loadmessages.h"
#include "document/patternreader.h"
#include "temporarypicture.h"

#include <functional>
#include <span>
#include <string>

namespace orvane {

class SettingsStore;

// Where an open's messages go: the window shows them, a conversion keeps them.
using LoadMessageSink = std::function<void(const LoadMessage &)>;

// An open's steps without the drawing: the read, whose failure is told, and
// the picture copy, which tells what kept it from being made. The window
// takes both in turn; a conversion takes the copy only when it writes a file.
class PatternOpen {
public:
    // Without a picture copier, copyPicture() makes no copy and says nothing.
    PatternOpen(LoadMessageSink messages, SettingsStore &settings, TemporaryPicture *picture)
        : m_messages(std::move(messages)), m_settings(settings), m_picture(picture)
    {
    }

    bool read(const std::string &path);
    bool read(std::span<const unsigned char> bytes);
    // After a successful read: the copy of its picture, if it has one.
    const PictureCopy &copyPicture();
    // read(path), then copyPicture() when it succeeded: the window's open.
    bool open(const std::string &path);

    // The last pattern read; after a failed read, what was read before the
    // failure.
    const Pattern &pattern() const { return m_pattern; }
    // The last copy's outcome; NoPicture until one is made for this pattern.
    const PictureCopy &pictureCopy() const { return m_copy; }

private:
    bool finish(ReadResult &&result);
    void tell(const std::vector<LoadMessage> &messages) const;

    LoadMessageSink m_messages;
    SettingsStore &m_settings;
    TemporaryPicture *m_picture;
    Pattern m_pattern;
    PictureCopy m_copy;
    // The last file read; kept so that a batch reuses its storage.
    FileBytes m_fileBytes;
};

} // namespace orvane
