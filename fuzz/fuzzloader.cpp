// libFuzzer target: arbitrary bytes as a pattern file, opened and saved
// through MainForm the way orvane-convert does it. Beyond what the sanitizers
// catch, it checks what a user relies on: a failed load says so once, a failed
// save leaves the existing output alone, a written metafile is well formed and
// holds exactly the visible elements, and nothing else is left in the folder.

#include "platform/settingsstore.h"
#include "export/libemf.h"
#include "platform/libmessage.h"
#include "shell/mainform.h"
#include "platform/messagebox.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace orvane;
using Bytes = std::vector<unsigned char>;

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "orvane fuzz check failed: %s\n", what);
        std::abort();
    }
}

struct Shown {
    std::string text;
    int style;
    std::string title;
};

class RecordingMessages : public MessageBox {
public:
    std::vector<Shown> shown;
    int showMessage(const std::string &text, int style, const std::string &title) override
    {
        shown.push_back({text, style, title});
        return 1;
    }
    void beep() override {}
};

// Everything the target writes lives in one private folder, so a run never
// touches the user's cache or anything of another process.
struct Workspace {
    std::string folder;
    std::string input;
    std::string output;
};

Workspace *workspace = nullptr;

void removeWorkspace()
{
    ::unlink(workspace->input.c_str());
    ::unlink(workspace->output.c_str());
    ::rmdir(workspace->folder.c_str());
}

const Bytes Sentinel = {'k', 'e', 'e', 'p', ' ', 'm', 'e'};

bool writeBytes(const std::string &path, const unsigned char *data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

Bytes readBytes(const std::string &path)
{
    Bytes bytes;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    if (FILE *f = std::fopen(path.c_str(), "rb")) {
        unsigned char buffer[64 * 1024];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return bytes;
}

std::vector<std::string> folderEntries(const std::string &folder)
{
    std::vector<std::string> names;
    if (DIR *dir = ::opendir(folder.c_str())) {
        while (const dirent *entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names.push_back(name);
        }
        ::closedir(dir);
    }
    return names;
}

std::uint16_t at16(const Bytes &b, std::size_t offset)
{
    return static_cast<std::uint16_t>(b[offset] | (b[offset + 1] << 8));
}

std::uint32_t at32(const Bytes &b, std::size_t offset)
{
    return at16(b, offset) | (std::uint32_t(at16(b, offset + 2)) << 16);
}

struct Record {
    std::uint32_t words;
    std::uint16_t function;
    std::size_t offset; // of the first parameter
};

// Walks the records from the header to META_EOF, which must end the file
// exactly, and checks the header against what the walk found.
std::vector<Record> readMetafile(const Bytes &b)
{
    require(b.size() >= 18 && b.size() % 2 == 0, "metafile shorter than its header or of odd size");
    require(at16(b, 0) == 1 && at16(b, 2) == 9 && at16(b, 4) == 0x0300, "metafile header type/size/version");
    require(at32(b, 6) == b.size() / 2, "header Size is not the file's length in words");
    require(at16(b, 10) == 1, "header NumberOfObjects");
    require(at16(b, 16) == 0, "header NumberOfMembers");
    std::vector<Record> records;
    std::uint32_t largest = 0;
    std::size_t offset = 18;
    for (;;) {
        require(offset + 6 <= b.size(), "record runs past the end of the file");
        const std::uint32_t words = at32(b, offset);
        require(words >= 3 && words <= (b.size() - offset) / 2, "record size does not fit the file");
        const std::uint16_t function = at16(b, offset + 4);
        records.push_back({words, function, offset + 6});
        largest = std::max(largest, words);
        offset += std::size_t(words) * 2;
        if (function == 0)
            break;
    }
    require(records.back().words == 3, "META_EOF is not 3 words");
    require(offset == b.size(), "bytes after META_EOF");
    require(at32(b, 12) == largest, "header MaxRecord is not the largest record");
    return records;
}

std::int16_t field(const Bytes &b, const Record &r, int index)
{
    return static_cast<std::int16_t>(at16(b, r.offset + std::size_t(index) * 2));
}

// R(): the double product, nearest integer, halves to even.
std::int16_t expected(double value)
{
    return static_cast<std::int16_t>(std::nearbyint(value));
}

// The records must be exactly: brush, select, a move and a line per visible
// line, a rectangle or ellipse per visible shape, delete, end.
void checkMetafile(const Bytes &b, const MainForm &form)
{
    const std::vector<Record> records = readMetafile(b);
    const Drawing &drawing = form.workForm().drawing();
    const float scaleX = static_cast<float>(static_cast<double>(float(form.PixelsX())) / form.workForm().PatternWidth());
    const float scaleY = static_cast<float>(static_cast<double>(float(form.PixelsY())) / form.workForm().PatternHeight());

    std::size_t i = 0;
    require(records.size() >= 4, "too few records");
    require(records[i].function == 0x02FC && records[i].words == 7, "first record is not CREATEBRUSHINDIRECT");
    require(field(b, records[i], 0) == 1 && at32(b, records[i].offset + 2) == 0xFF && field(b, records[i], 3) == 1,
            "brush is not the hollow brush");
    ++i;
    require(records[i].function == 0x012D && field(b, records[i], 0) == 0, "second record is not SELECTOBJECT 0");
    ++i;
    for (const PatternLine &line : drawing.OutLine) {
        if (!line.Visible)
            continue;
        require(i + 1 < records.size(), "a visible line has no records");
        const Record &move = records[i++];
        const Record &to = records[i++];
        require(move.function == 0x0214 && move.words == 5 && to.function == 0x0213 && to.words == 5,
                "line is not MOVETO then LINETO");
        require(field(b, move, 0) == expected(double(line.Y1) * scaleY)
                    && field(b, move, 1) == expected(double(line.X1) * scaleX)
                    && field(b, to, 0) == expected(double(line.Y2) * scaleY)
                    && field(b, to, 1) == expected(double(line.X2) * scaleX),
                "line end points");
    }
    for (const PatternShape &shape : drawing.OutShape) {
        if (!shape.Visible)
            continue;
        require(i < records.size(), "a visible shape has no record");
        const Record &r = records[i++];
        const bool ellipse = shape.Shape == 2 || shape.Shape == 3;
        require(r.function == (ellipse ? 0x0418 : 0x041B) && r.words == 7, "shape record kind");
        const double left = shape.Left;
        const double top = shape.Top;
        require(field(b, r, 0) == expected((top + shape.Height) * scaleY)
                    && field(b, r, 1) == expected((left + shape.Width) * scaleX)
                    && field(b, r, 2) == expected(top * scaleY) && field(b, r, 3) == expected(left * scaleX),
                "shape box");
    }
    require(i + 2 == records.size(), "records beyond the visible elements");
    require(records[i].function == 0x01F0 && field(b, records[i], 0) == 0, "brush is not deleted before the end");
}

struct Outcome {
    bool loaded = false;
    std::vector<Shown> loadMessages;
    Bytes metafile;
};

void checkLoadMessages(const std::vector<Shown> &shown, bool loaded)
{
    for (const Shown &m : shown)
        require(m.title == "Veltrum Orvane", "loader message without the product title");
    if (!loaded) {
        // A file that is there but cannot be read says so exactly once.
        int formatMessages = 0;
        for (const Shown &m : shown)
            formatMessages += m.text == LibMessage::FormatUnknownText() ? 1 : 0;
        require(formatMessages == 1 && shown.back().text == LibMessage::FormatUnknownText()
                    && shown.back().style == MessageExclamation,
                "failed load without exactly one format message at the end");
        return;
    }
    // A successful load shows nothing, or only the picture's messages.
    if (shown.empty())
        return;
    require(shown.back().text == LibMessage::PictureNotLoadedText(), "successful load with a foreign message");
    require(shown.size() == 1
                || (shown.size() == 2 && shown[0].style == MessageInformation
                    && shown[0].text.rfind("The temporary picture file could not be opened.", 0) == 0),
            "successful load with unexpected messages");
}

Outcome openAndSave(MainForm &form, RecordingMessages &messages, const Bytes &input, bool save)
{
    Outcome outcome;
    messages.shown.clear();
    form.OpenPattern(workspace->input);
    outcome.loaded = form.stepStates()[0] == StepDone;
    require(outcome.loaded || form.stepStates()[0] == StepFailed, "open step neither done nor failed");
    outcome.loadMessages = messages.shown;
    checkLoadMessages(messages.shown, outcome.loaded);

    if (!outcome.loaded) {
        for (const PatternLine &line : form.workForm().drawing().OutLine)
            require(!line.Visible, "a failed load left a visible line");
        for (const PatternShape &shape : form.workForm().drawing().OutShape)
            require(!shape.Visible, "a failed load left a visible shape");
        return outcome;
    }

    const std::string &picture = form.libFile().temporaryPicturePath();
    if (!picture.empty()) {
        struct stat st {};
        require(::lstat(picture.c_str(), &st) == 0 && S_ISREG(st.st_mode), "picture copy is not a regular file");
        require(st.st_size == form.libFile().pictureBytes(), "picture copy is not the size reported");
        // The picture is read straight from the pattern file, so the copy
        // can only be a run of the input's own bytes.
        const Bytes copy = readBytes(picture);
        require(copy.size() == static_cast<std::size_t>(st.st_size), "picture copy changed while read");
        require(std::search(input.begin(), input.end(), copy.begin(), copy.end()) != input.end(),
                "picture copy holds bytes that are not in the pattern file");
    }

    if (!save) {
        const ExportOptions options{{}, form.PixelsX(), form.PixelsY(), form.workForm().PatternWidth(),
                                    form.workForm().PatternHeight(), nullptr};
        const LibEMF::BuildResult built = LibEMF::BuildMetafile(form.workForm().drawing(), options);
        outcome.metafile = built.bytes;
        return outcome;
    }

    // An existing output that a failed save must leave as it was.
    require(writeBytes(workspace->output, Sentinel.data(), Sentinel.size()), "cannot write the sentinel output");
    messages.shown.clear();
    form.SaveAs(workspace->output);
    const Bytes written = readBytes(workspace->output);
    if (form.stepStates()[4] == StepDone) {
        require(messages.shown.empty(), "successful save showed a message");
        checkMetafile(written, form);
        outcome.metafile = written;
    } else {
        require(form.stepStates()[4] == StepFailed, "save step neither done nor failed");
        require(written == Sentinel, "a failed save changed the existing file");
        require(messages.shown.size() == 1
                    && messages.shown[0].text.rfind("Error creating metafile " + workspace->output + ".", 0) == 0
                    && messages.shown[0].title == "Orvane",
                "failed save without its message");
    }
    const auto entries = folderEntries(workspace->folder);
    require(entries.size() == 2, "the save left a file behind");
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const char *tmp = std::getenv("TMPDIR");
    std::string base = tmp && tmp[0] == '/' ? tmp : "/tmp";
    std::string folder = base + "/orvane-fuzz-XXXXXX";
    require(::mkdtemp(folder.data()) != nullptr, "cannot create the work folder");
    // The picture copy must not land in the user's real cache.
    const char *cache = std::getenv("XDG_CACHE_HOME");
    if (!cache || cache[0] != '/') {
        std::string cacheFolder = base + "/orvane-fuzz-cache-XXXXXX";
        require(::mkdtemp(cacheFolder.data()) != nullptr, "cannot create the cache folder");
        ::setenv("XDG_CACHE_HOME", cacheFolder.c_str(), 1);
    }
    workspace = new Workspace{folder, folder + "/input.pat", folder + "/output.wmf"};
    std::atexit(removeWorkspace);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    require(writeBytes(workspace->input, data, size), "cannot write the input");

    RecordingMessages messages;
    EmptySettingsStore settings;
    MainForm form(Platform{messages, settings});
    form.Load();

    const Bytes bytes(data, data + size);
    const Outcome first = openAndSave(form, messages, bytes, true);
    // "Change Files" and the same file again, as orvane-convert does between
    // inputs: nothing of the first load may show in the second. The second
    // metafile is only built, not written, which is the costly part.
    form.CommandResetClick();
    const Outcome second = openAndSave(form, messages, bytes, false);
    require(first.loaded == second.loaded, "the same file loaded once and failed once");
    require(first.loadMessages.size() == second.loadMessages.size(), "the same file gave other messages");
    require(first.metafile == second.metafile, "the same file gave another metafile");
    return 0;
}
