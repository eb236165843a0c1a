#pragma once

#include "document/patternreader.h"
#include "temporarypicture.h"

#include <string>
#include <vector>

namespace orvane {

// One message of an open as the user reads it: its text, with "\r\n" line
// breaks, and whether it only informs (else it warns).
struct LoadMessage {
    std::string text;
    bool information = false;

    bool operator==(const LoadMessage &) const = default;
};

namespace LoadMessages {

std::string FormatUnknownText();
std::string FileNotFoundText(const std::string &path);
std::string FileNameTooLongText(const std::string &path);
// Names the stored setting key (in file, when known) that does not convert.
std::string SettingAtFaultText(const std::string &key, const std::string &file);
std::string PictureNotLoadedText();
// reason, when not empty, says what the system answered, on a line of its own.
std::string TempFileNotOpenedText(const std::string &path, const std::string &reason = {});

// What the user is told of a failed read (settingsLocation: the file of the
// stored defaults, named when one of them is at fault) and of a picture
// copy, in the window's order.
std::vector<LoadMessage> ofReadFailure(const ReadFailure &failure, const std::string &settingsLocation);
std::vector<LoadMessage> ofPictureCopy(const PictureCopy &copy);

} // namespace LoadMessages

} // namespace orvane
