// libFuzzer target: arbitrary bytes as a pattern file, opened and saved
// through MainForm the way orvane-convert does it. Beyond what the sanitizers
// catch, it checks what a user relies on: a failed load says so once, a failed
// save leaves the existing output alone, a written metafile is well formed
// (read by the tests' decoder) and holds exactly the visible elements, and
// nothing else is left in the folder.

#include "wmfdecoder.h"

#include "orvane/orvane.h"

#include "export/pageencoding.h"
#include "shell/libmessage.h"
#include "shell/messagebox.h"
#include "settings/settingsstore.h"
#include "shell/mainform.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace orvane;
using namespace orvane::testing;
using Bytes = std::vector<unsigned char>;

void require(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "orvane fuzz check failed: %s\n", what);
        std::abort();
    }
}

struct RecordingMessages : MessageBox {
    struct Shown {
        std::string text;
        int style;
        std::string title;
    };
    std::vector<Shown> shown;
    int showMessage(const std::string &text, int style, const std::string &title) override
    {
        shown.push_back({text, style, title});
        return 1;
    }
    void beep() override {}
};

// Everything the target writes lives in one private folder.
struct Workspace {
    std::string folder, input, output;
} *workspace = nullptr;

const Bytes Sentinel = {'k', 'e', 'e', 'p', ' ', 'm', 'e'};

bool writeBytes(const std::string &path, const unsigned char *data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

Bytes readBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t folderEntries(const std::string &folder)
{
    std::size_t n = 0;
    if (DIR *dir = ::opendir(folder.c_str())) {
        while (const dirent *entry = ::readdir(dir))
            n += entry->d_name[0] != '.' ? 1 : 0;
        ::closedir(dir);
    }
    return n;
}

// The elements a metafile of the drawing must hold: one double product per
// coordinate with the scale formed in float, nearest integer, halves to even.
std::vector<WmfElement> expectedElements(const MainForm &form)
{
    const float sx = float(double(float(form.PixelsX())) / form.workForm().PatternWidth());
    const float sy = float(double(float(form.PixelsY())) / form.workForm().PatternHeight());
    auto x = [sx](double v) { return int(std::nearbyint(v * sx)); };
    auto y = [sy](double v) { return int(std::nearbyint(v * sy)); };
    std::vector<WmfElement> out;
    for (const PatternLine &l : form.workForm().drawing().OutLine)
        if (l.Visible)
            out.push_back({'L', x(l.X1), y(l.Y1), x(l.X2), y(l.Y2)});
    for (const PatternShape &s : form.workForm().drawing().OutShape)
        if (s.Visible)
            out.push_back({s.Shape == 2 || s.Shape == 3 ? 'E' : 'R', x(s.Left), y(s.Top), x(double(s.Left) + s.Width),
                           y(double(s.Top) + s.Height)});
    return out;
}

void checkLoadMessages(const std::vector<RecordingMessages::Shown> &shown, bool loaded)
{
    for (const auto &m : shown)
        require(m.title == "Veltrum Orvane", "loader message without the product title");
    if (!loaded) {
        // A file that is there but cannot be read says so exactly once, at the end.
        const auto format = std::count_if(shown.begin(), shown.end(),
                                          [](const auto &m) { return m.text == LoadMessages::FormatUnknownText(); });
        require(format == 1 && shown.back().text == LoadMessages::FormatUnknownText()
                    && shown.back().style == MessageExclamation,
                "failed load without exactly one format message at the end");
        return;
    }
    // A successful load shows nothing, or only the picture's messages.
    require(shown.empty() || shown.back().text == LoadMessages::PictureNotLoadedText(),
            "successful load with a foreign message");
    require(shown.size() <= 1
                || (shown.size() == 2 && shown[0].style == MessageInformation
                    && shown[0].text.rfind("The temporary picture file could not be opened.", 0) == 0),
            "successful load with unexpected messages");
}

struct Outcome {
    bool loaded = false;
    std::size_t messages = 0;
    Bytes metafile;
};

Outcome openAndSave(MainForm &form, RecordingMessages &messages, const Bytes &input, bool save)
{
    Outcome outcome;
    messages.shown.clear();
    outcome.loaded = form.OpenPattern(workspace->input) == MainForm::Outcome::Done;
    require(form.stepStates()[0] == (outcome.loaded ? StepDone : StepFailed), "open step neither done nor failed");
    outcome.messages = messages.shown.size();
    checkLoadMessages(messages.shown, outcome.loaded);
    if (!outcome.loaded) {
        for (const PatternLine &line : form.workForm().drawing().OutLine)
            require(!line.Visible, "a failed load left a visible line");
        for (const PatternShape &shape : form.workForm().drawing().OutShape)
            require(!shape.Visible, "a failed load left a visible shape");
        return outcome;
    }

    if (const PictureCopy &copied = form.pictureCopy(); copied.copied()) {
        const std::string &picture = copied.path;
        struct stat st {};
        require(::lstat(picture.c_str(), &st) == 0 && S_ISREG(st.st_mode), "picture copy is not a regular file");
        require(st.st_size == copied.bytes, "picture copy is not the size reported");
        // The picture is read straight from the pattern file, so the copy is a run of the input's bytes.
        const Bytes copy = readBytes(picture);
        require(std::search(input.begin(), input.end(), copy.begin(), copy.end()) != input.end(),
                "picture copy holds bytes that are not in the pattern file");
    }

    if (!save) {
        // The library, given the same bytes, writes what the window saves.
        outcome.metafile = orvane::convert(input).bytes;
        return outcome;
    }

    // An existing output that a failed save must leave as it was.
    require(writeBytes(workspace->output, Sentinel.data(), Sentinel.size()), "cannot write the sentinel output");
    messages.shown.clear();
    const bool saved = form.SaveAs(workspace->output) == MainForm::Outcome::Done;
    const Bytes written = readBytes(workspace->output);
    if (saved) {
        require(messages.shown.empty(), "successful save showed a message");
        const DecodedMetafile decoded = decodeMetafile(written);
        require(checkConverterMetafile(decoded).empty(), "written metafile is not what the converter writes");
        require(decoded.elements() == expectedElements(form), "metafile elements are not the visible elements");
        outcome.metafile = written;
    } else {
        require(written == Sentinel, "a failed save changed the existing file");
        require(messages.shown.size() == 1
                    && messages.shown[0].text.rfind("Error creating metafile " + workspace->output + ".", 0) == 0
                    && messages.shown[0].title == "Orvane",
                "failed save without its message");
    }
    require(folderEntries(workspace->folder) == 2, "the save left a file behind");
    return outcome;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    const char *tmp = std::getenv("TMPDIR");
    const std::string base = tmp && tmp[0] == '/' ? tmp : "/tmp";
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
    std::atexit([] {
        ::unlink(workspace->input.c_str());
        ::unlink(workspace->output.c_str());
        ::rmdir(workspace->folder.c_str());
    });
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
    // "Change Files" and the same file again: nothing of the first load may
    // show in the second. The second metafile comes from the library instead
    // of a save, so the two paths must agree byte for byte.
    form.CommandResetClick();
    const Outcome second = openAndSave(form, messages, bytes, false);
    require(first.loaded == second.loaded && first.messages == second.messages, "the same file loaded otherwise");
    require(first.metafile == second.metafile, "the same file gave another metafile");
    return 0;
}
