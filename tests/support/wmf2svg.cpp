#include "wmf2svg.h"

#include "fakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace orvane::testing {

namespace {

std::string readText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// name="value" pairs of one tag.
std::map<std::string, std::string> attributes(const std::string &tag)
{
    std::map<std::string, std::string> out;
    std::size_t at = 0;
    while ((at = tag.find('=', at)) != std::string::npos) {
        std::size_t nameEnd = at;
        while (nameEnd > 0 && std::isspace(static_cast<unsigned char>(tag[nameEnd - 1])))
            --nameEnd;
        std::size_t nameStart = nameEnd;
        while (nameStart > 0 && !std::isspace(static_cast<unsigned char>(tag[nameStart - 1])))
            --nameStart;
        std::size_t q = at + 1;
        while (q < tag.size() && std::isspace(static_cast<unsigned char>(tag[q])))
            ++q;
        if (q >= tag.size() || (tag[q] != '"' && tag[q] != '\'')) {
            ++at;
            continue;
        }
        const char quote = tag[q];
        const std::size_t end = tag.find(quote, q + 1);
        if (end == std::string::npos)
            break;
        out[tag.substr(nameStart, nameEnd - nameStart)] = tag.substr(q + 1, end - q - 1);
        at = end + 1;
    }
    return out;
}

double number(const std::map<std::string, std::string> &a, const std::string &name, bool &ok)
{
    const auto it = a.find(name);
    if (it == a.end()) {
        ok = false;
        return 0;
    }
    char *end = nullptr;
    const double v = std::strtod(it->second.c_str(), &end);
    if (end == it->second.c_str())
        ok = false;
    return v;
}

bool near(double a, double b)
{
    return std::fabs(a - b) <= 0.02;
}

std::string describe(const SvgLine &l)
{
    std::ostringstream o;
    o << "line (" << l.x1 << ", " << l.y1 << ")-(" << l.x2 << ", " << l.y2 << ")";
    return o.str();
}

} // namespace

SvgDrawing parseWmf2svgOutput(const std::string &svg)
{
    SvgDrawing d;
    std::size_t at = 0;
    while ((at = svg.find('<', at)) != std::string::npos) {
        const std::size_t end = svg.find('>', at);
        if (end == std::string::npos)
            break;
        const std::string tag = svg.substr(at + 1, end - at - 1);
        at = end + 1;
        if (tag.empty() || tag[0] == '/' || tag[0] == '?' || tag[0] == '!')
            continue;
        std::size_t nameEnd = 0;
        while (nameEnd < tag.size() && !std::isspace(static_cast<unsigned char>(tag[nameEnd])) && tag[nameEnd] != '/')
            ++nameEnd;
        const std::string name = tag.substr(0, nameEnd);
        const auto a = attributes(tag);
        bool ok = true;
        if (name == "svg") {
            d.width = number(a, "width", ok);
            d.height = number(a, "height", ok);
        } else if (name == "line") {
            d.lines.push_back({number(a, "x1", ok), number(a, "y1", ok), number(a, "x2", ok), number(a, "y2", ok)});
            d.order += 'L';
        } else if (name == "rect") {
            d.rects.push_back({number(a, "x", ok), number(a, "y", ok), number(a, "width", ok), number(a, "height", ok)});
            d.order += 'R';
        } else if (name == "ellipse") {
            d.ellipses.push_back({number(a, "cx", ok), number(a, "cy", ok), number(a, "rx", ok), number(a, "ry", ok)});
            d.order += 'E';
        } else if (name != "desc") {
            d.otherElements.push_back(name);
        }
        if (!ok)
            d.otherElements.push_back(name + " (attributes not read)");
    }
    return d;
}

SvgDrawing runWmf2svg(const std::string &wmfPath, int maxWidth, int maxHeight)
{
    SvgDrawing result;
    TempDir dir;
    const std::string svgPath = dir.file("out.svg");
    const std::string logPath = dir.file("log.txt");
    const std::string widthArg = "--maxwidth=" + std::to_string(maxWidth);
    const std::string heightArg = "--maxheight=" + std::to_string(maxHeight);
    std::vector<std::string> args = {"wmf2svg", widthArg, heightArg, "-o", svgPath, wmfPath};
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "wmf2svg", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.messages = "wmf2svg could not be started (install libwmf-bin and fonts-urw-base35)";
        return result;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.ran = true;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const std::string messages = readText(logPath);
    if (result.exitCode == 127) {
        result.ran = false;
        result.messages = "wmf2svg not found (install libwmf-bin and fonts-urw-base35): " + messages;
        return result;
    }
    SvgDrawing parsed = parseWmf2svgOutput(readText(svgPath));
    parsed.ran = result.ran;
    parsed.exitCode = result.exitCode;
    parsed.messages = messages;
    return parsed;
}

SvgPlacement svgPlacementFor(const DecodedMetafile &metafile, double svgWidth, double svgHeight)
{
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    auto add = [&](double x, double y) {
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    for (const WmfLine &l : metafile.lines()) {
        add(l.x1, l.y1);
        add(l.x2, l.y2);
    }
    for (const WmfBox &b : metafile.boxes()) {
        add(b.left, b.top);
        add(b.right, b.bottom);
    }
    SvgPlacement p;
    if (minX > maxX)
        return p;
    p.minX = minX;
    p.minY = minY;
    p.scaleX = svgWidth / (maxX - minX + 1);
    p.scaleY = svgHeight / (maxY - minY + 1);
    return p;
}

ReadableMetafile expectMetafileReadable(const std::string &path, int pixelsX, int pixelsY)
{
    ReadableMetafile r;
    r.decoded = decodeMetafileFile(path);
    for (const std::string &problem : checkConverterMetafile(r.decoded))
        ADD_FAILURE() << path << ": " << problem;

    const auto lines = r.decoded.lines();
    const auto boxes = r.decoded.boxes();
    if (lines.empty() && boxes.empty())
        return r; // wmf2svg refuses a drawing without elements

    r.svg = runWmf2svg(path, pixelsX + 1, pixelsY + 1);
    if (!r.svg.ok()) {
        ADD_FAILURE() << path << ": wmf2svg failed (exit " << r.svg.exitCode << "): " << r.svg.messages;
        return r;
    }
    r.svgChecked = true;
    r.placement = svgPlacementFor(r.decoded, r.svg.width, r.svg.height);
    const SvgPlacement &p = r.placement;

    EXPECT_TRUE(r.svg.otherElements.empty()) << path << ": wmf2svg wrote other elements, first "
                                             << (r.svg.otherElements.empty() ? "" : r.svg.otherElements.front());
    std::string order(lines.size(), 'L');
    for (const WmfBox &b : boxes)
        order += b.ellipse ? 'E' : 'R';
    EXPECT_EQ(r.svg.order, order) << path << ": elements in the SVG";
    if (r.svg.order != order)
        return r;

    for (std::size_t i = 0; i < lines.size(); ++i) {
        const WmfLine &l = lines[i];
        const SvgLine &s = r.svg.lines[i];
        const SvgLine want{p.x(l.x1), p.y(l.y1), p.x(l.x2), p.y(l.y2)};
        EXPECT_TRUE(near(s.x1, want.x1) && near(s.y1, want.y1) && near(s.x2, want.x2) && near(s.y2, want.y2))
            << path << ": SVG line " << i << " is " << describe(s) << ", expected " << describe(want);
    }
    std::size_t rect = 0, ellipse = 0;
    for (const WmfBox &b : boxes) {
        if (b.ellipse) {
            const SvgEllipse &s = r.svg.ellipses[ellipse++];
            const double cx = p.x((b.left + b.right) / 2.0), cy = p.y((b.top + b.bottom) / 2.0);
            const double rx = (b.right - b.left) / 2.0 * p.scaleX, ry = (b.bottom - b.top) / 2.0 * p.scaleY;
            EXPECT_TRUE(near(s.cx, cx) && near(s.cy, cy) && near(s.rx, rx) && near(s.ry, ry))
                << path << ": SVG ellipse " << ellipse - 1 << " is (" << s.cx << ", " << s.cy << ") r " << s.rx
                << " x " << s.ry << ", expected (" << cx << ", " << cy << ") r " << rx << " x " << ry;
        } else {
            const SvgRect &s = r.svg.rects[rect++];
            const double x = p.x(b.left), y = p.y(b.top);
            const double w = (b.right - b.left) * p.scaleX, h = (b.bottom - b.top) * p.scaleY;
            EXPECT_TRUE(near(s.x, x) && near(s.y, y) && near(s.width, w) && near(s.height, h))
                << path << ": SVG rect " << rect - 1 << " is (" << s.x << ", " << s.y << ") " << s.width << " x "
                << s.height << ", expected (" << x << ", " << y << ") " << w << " x " << h;
        }
    }
    return r;
}

} // namespace orvane::testing
