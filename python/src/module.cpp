// orvane._orvane: the library's convert() and info() for Python. Arguments are
// checked and copied while the interpreter is held; the conversion itself runs
// with it released, so threads convert side by side.

#include <orvane/orvane.h>

#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace py = pybind11;

namespace {

PyObject *conversionError = nullptr;

const char *statusName(orvane::ConversionResult::Status status)
{
    switch (status) {
    case orvane::ConversionResult::Converted:
        return "Converted";
    case orvane::ConversionResult::NotLoaded:
        return "NotLoaded";
    case orvane::ConversionResult::WidthRefused:
        return "WidthRefused";
    case orvane::ConversionResult::NotEncoded:
        return "NotEncoded";
    case orvane::ConversionResult::UnknownFormat:
        return "UnknownFormat";
    }
    return "NotLoaded";
}

// The library's messages end their lines in "\r\n", as the window's boxes do.
std::vector<std::string> pythonLines(const std::vector<std::string> &messages)
{
    std::vector<std::string> out;
    out.reserve(messages.size());
    for (const std::string &message : messages) {
        std::string text;
        text.reserve(message.size());
        for (std::size_t i = 0; i < message.size(); ++i) {
            if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n')
                continue;
            text += message[i];
        }
        out.push_back(std::move(text));
    }
    return out;
}

// A pattern's bytes from any contiguous buffer, held until the conversion ends.
class PatternBytes {
public:
    explicit PatternBytes(const py::handle &data)
    {
        if (PyUnicode_Check(data.ptr()))
            throw py::type_error("data must be bytes, bytearray or memoryview, not str");
        if (PyObject_GetBuffer(data.ptr(), &m_view, PyBUF_SIMPLE) != 0)
            throw py::error_already_set();
    }
    ~PatternBytes() { PyBuffer_Release(&m_view); }
    PatternBytes(const PatternBytes &) = delete;
    PatternBytes &operator=(const PatternBytes &) = delete;

    std::span<const unsigned char> span() const
    {
        return {static_cast<const unsigned char *>(m_view.buf), static_cast<std::size_t>(m_view.len)};
    }

private:
    Py_buffer m_view{};
};

const std::vector<std::string> &knownFormats()
{
    static const std::vector<std::string> names = orvane::formatNames();
    return names;
}

std::string checkedFormat(const py::object &format)
{
    if (!PyUnicode_Check(format.ptr()))
        throw py::type_error("format must be a str, not " + std::string(Py_TYPE(format.ptr())->tp_name));
    std::string name = format.cast<std::string>();
    const std::vector<std::string> &names = knownFormats();
    if (std::find(names.begin(), names.end(), name) == names.end()) {
        std::string list;
        for (const std::string &known : names)
            list += (list.empty() ? "" : ", ") + known;
        throw py::value_error("unknown format '" + name + "' (formats: " + list + ")");
    }
    return name;
}

// A positive whole number of pixels, as the decimal text the library reads.
std::string checkedWidth(const py::object &width)
{
    if (width.is_none())
        return {};
    if (PyBool_Check(width.ptr()) || !PyIndex_Check(width.ptr()))
        throw py::type_error("width must be an int or None, not " + std::string(Py_TYPE(width.ptr())->tp_name));
    const py::object pixels = py::reinterpret_steal<py::object>(PyNumber_Index(width.ptr()));
    if (!pixels)
        throw py::error_already_set();
    const std::string text = py::repr(pixels).cast<std::string>();
    const int positive = PyObject_RichCompareBool(pixels.ptr(), py::int_(0).ptr(), Py_GT);
    if (positive < 0)
        throw py::error_already_set();
    if (!positive)
        throw py::value_error("width must be a positive number of pixels, not " + text);
    return text;
}

std::string checkedPath(const py::object &path, const char *what)
{
    if (path.is_none())
        return {};
    const py::bytes name = py::module_::import("os").attr("fsencode")(path);
    std::string folder = name;
    if (folder.empty())
        throw py::value_error(std::string(what) + " must not be empty");
    return folder;
}

// The caller's defaults copied into a map, so that reading them later needs
// no interpreter.
std::shared_ptr<const std::map<std::string, std::string>> checkedDefaults(const py::object &defaults)
{
    auto map = std::make_shared<std::map<std::string, std::string>>();
    if (defaults.is_none())
        return map;
    if (!py::isinstance(defaults, py::module_::import("collections.abc").attr("Mapping")))
        throw py::type_error("defaults must be a mapping of str to str");
    const py::object items = defaults.attr("items")();
    for (const py::handle item : items) {
        const py::tuple pair = item.cast<py::tuple>();
        if (!PyUnicode_Check(pair[0].ptr()) || !PyUnicode_Check(pair[1].ptr()))
            throw py::type_error("defaults must be a mapping of str to str");
        (*map)[pair[0].cast<std::string>()] = pair[1].cast<std::string>();
    }
    return map;
}

orvane::ConvertOptions optionsFrom(const py::object &defaults, const py::object &defaultsLocation,
                                   const py::object &pictureFolder)
{
    orvane::ConvertOptions options;
    const auto map = checkedDefaults(defaults);
    if (!map->empty()) {
        options.storedDefaults = [map](const std::string &key) -> std::optional<std::string> {
            const auto found = map->find(key);
            if (found == map->end())
                return std::nullopt;
            return found->second;
        };
    }
    options.storedDefaultsLocation = checkedPath(defaultsLocation, "defaults_location");
    options.pictureFolder = checkedPath(pictureFolder, "picture_folder");
    return options;
}

// What Python sees of one conversion.
struct Result {
    py::bytes data;
    int width = 0;
    int height = 0;
    std::string status;
    std::vector<std::string> messages;
};

Result convertResult(const py::object &data, const py::object &format, const py::object &width,
                     const py::object &defaults, const py::object &defaultsLocation, const py::object &pictureFolder)
{
    orvane::ConvertOptions options = optionsFrom(defaults, defaultsLocation, pictureFolder);
    options.format = checkedFormat(format);
    options.width = checkedWidth(width);
    const PatternBytes pattern(data);
    orvane::ConversionResult converted;
    {
        py::gil_scoped_release released;
        converted = orvane::convert(pattern.span(), options);
    }
    Result result;
    result.data = py::bytes(reinterpret_cast<const char *>(converted.bytes.data()), converted.bytes.size());
    result.width = converted.pixelsX;
    result.height = converted.pixelsY;
    result.status = statusName(converted.status);
    result.messages = pythonLines(converted.messages);
    return result;
}

[[noreturn]] void raiseConversionError(const std::string &status, const std::vector<std::string> &messages)
{
    std::string text;
    for (const std::string &message : messages)
        text += (text.empty() ? "" : "\n") + message;
    const py::object error = py::reinterpret_borrow<py::object>(conversionError)(text);
    error.attr("status") = status;
    error.attr("messages") = messages;
    PyErr_SetObject(conversionError, error.ptr());
    throw py::error_already_set();
}

py::bytes convertBytes(const py::object &data, const py::object &format, const py::object &width,
                       const py::object &defaults, const py::object &defaultsLocation, const py::object &pictureFolder)
{
    Result result = convertResult(data, format, width, defaults, defaultsLocation, pictureFolder);
    if (result.status != "Converted")
        raiseConversionError(result.status, result.messages);
    return result.data;
}

py::object info(const py::object &data, const py::object &defaults, const py::object &defaultsLocation,
                const py::object &pictureFolder)
{
    const orvane::ConvertOptions options = optionsFrom(defaults, defaultsLocation, pictureFolder);
    const PatternBytes pattern(data);
    orvane::InfoResult read;
    {
        py::gil_scoped_release released;
        read = orvane::info(pattern.span(), options);
    }
    if (!read.ok)
        raiseConversionError("NotLoaded", pythonLines(read.messages));
    return py::module_::import("json").attr("loads")(read.json);
}

} // namespace

PYBIND11_MODULE(_orvane, m)
{
    m.doc() = "Pattern files to metafiles, SVG and more: the Orvane library.";

    conversionError = PyErr_NewExceptionWithDoc(
        "orvane.ConversionError",
        "A pattern that cannot be converted: .status names why, .messages holds what the window would show.",
        PyExc_Exception, nullptr);
    if (!conversionError)
        throw py::error_already_set();
    m.attr("ConversionError") = py::handle(conversionError);

    py::class_<Result>(m, "ConversionResult", "One conversion: the output's bytes and size, or why there are none.")
        .def_readonly("data", &Result::data, "The output's bytes; empty unless status is 'Converted'.")
        .def_readonly("width", &Result::width, "The output's width in pixels (the page's own if the width was refused).")
        .def_readonly("height", &Result::height, "The output's height in pixels.")
        .def_readonly("status", &Result::status,
                      "'Converted', 'NotLoaded', 'WidthRefused' or 'NotEncoded'.")
        .def_readonly("messages", &Result::messages, "What the window would show, in order, with '\\n' line breaks.")
        .def_property_readonly("ok", [](const Result &r) { return r.status == "Converted"; })
        .def("__repr__",
             [](const Result &r) {
                 return "<orvane.ConversionResult " + r.status + " " + std::to_string(r.width) + " x " +
                        std::to_string(r.height) + ", " + std::to_string(py::len(r.data)) + " bytes>";
             })
        .def(py::pickle(
            [](const Result &r) { return py::make_tuple(r.data, r.width, r.height, r.status, r.messages); },
            [](const py::tuple &t) {
                if (t.size() != 5)
                    throw py::value_error("not a pickled ConversionResult");
                return Result{t[0].cast<py::bytes>(), t[1].cast<int>(), t[2].cast<int>(), t[3].cast<std::string>(),
                              t[4].cast<std::vector<std::string>>()};
            }));

    m.def("convert", &convertBytes, py::arg("data"), py::arg("format") = "wmf", py::arg("width") = py::none(),
          py::kw_only(), py::arg("defaults") = py::none(), py::arg("defaults_location") = py::none(),
          py::arg("picture_folder") = py::none(),
          "A pattern file's bytes converted to format; raises ConversionError when they cannot be.");
    m.def("convert_result", &convertResult, py::arg("data"), py::arg("format") = "wmf",
          py::arg("width") = py::none(), py::kw_only(), py::arg("defaults") = py::none(),
          py::arg("defaults_location") = py::none(), py::arg("picture_folder") = py::none(),
          "Like convert(), but a failure is a result too.");
    m.def("info", &info, py::arg("data"), py::kw_only(), py::arg("defaults") = py::none(),
          py::arg("defaults_location") = py::none(), py::arg("picture_folder") = py::none(),
          "What a pattern holds, as orvane-convert --info prints it.");

    py::tuple names(knownFormats().size());
    for (std::size_t i = 0; i < knownFormats().size(); ++i)
        names[i] = py::str(knownFormats()[i]);
    m.attr("formats") = names;
    m.attr("__version__") = orvane::version();
}
