#pragma once

// A small strict JSON reader for checking orvane-convert --info: objects keep
// their member order, numbers keep their text so a test can read them back as
// a 32-bit float.

#include <cstdint>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace orvane::testing {

struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Null;
    bool boolean = false;
    std::string text; // number text or string value (UTF-8)
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    const Json &operator[](const std::string &key) const
    {
        for (const auto &m : members)
            if (m.first == key)
                return m.second;
        throw std::out_of_range("no member " + key);
    }
    const Json &operator[](std::size_t i) const { return items.at(i); }
    bool has(const std::string &key) const
    {
        for (const auto &m : members)
            if (m.first == key)
                return true;
        return false;
    }
    std::vector<std::string> keys() const
    {
        std::vector<std::string> out;
        for (const auto &m : members)
            out.push_back(m.first);
        return out;
    }
    long long integer() const { return std::stoll(text); }
};

class JsonReader {
public:
    static Json parse(const std::string &s)
    {
        JsonReader r(s);
        Json v = r.value();
        r.blanks();
        if (r.m_at != s.size())
            throw std::runtime_error("text after the JSON value");
        return v;
    }

private:
    explicit JsonReader(const std::string &s) : m_s(s) {}

    void blanks()
    {
        while (m_at < m_s.size() && (m_s[m_at] == ' ' || m_s[m_at] == '\n' || m_s[m_at] == '\r' || m_s[m_at] == '\t'))
            ++m_at;
    }
    char peek()
    {
        blanks();
        if (m_at >= m_s.size())
            throw std::runtime_error("unexpected end of JSON");
        return m_s[m_at];
    }
    void expect(char c)
    {
        if (peek() != c)
            throw std::runtime_error(std::string("expected '") + c + "' at " + std::to_string(m_at));
        ++m_at;
    }
    bool word(const char *w)
    {
        const std::string ws(w);
        if (m_s.compare(m_at, ws.size(), ws) == 0) {
            m_at += ws.size();
            return true;
        }
        return false;
    }

    Json value()
    {
        Json v;
        const char c = peek();
        if (c == '{') {
            v.kind = Json::Object;
            ++m_at;
            if (peek() == '}') {
                ++m_at;
                return v;
            }
            for (;;) {
                if (peek() != '"')
                    throw std::runtime_error("object key is not a string");
                std::string key = string();
                expect(':');
                v.members.emplace_back(std::move(key), value());
                if (peek() == ',') {
                    ++m_at;
                    continue;
                }
                expect('}');
                return v;
            }
        }
        if (c == '[') {
            v.kind = Json::Array;
            ++m_at;
            if (peek() == ']') {
                ++m_at;
                return v;
            }
            for (;;) {
                v.items.push_back(value());
                if (peek() == ',') {
                    ++m_at;
                    continue;
                }
                expect(']');
                return v;
            }
        }
        if (c == '"') {
            v.kind = Json::String;
            v.text = string();
            return v;
        }
        if (word("true")) {
            v.kind = Json::Bool;
            v.boolean = true;
            return v;
        }
        if (word("false")) {
            v.kind = Json::Bool;
            return v;
        }
        if (word("null"))
            return v;
        // Number: -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
        const std::size_t start = m_at;
        auto digits = [this] {
            const std::size_t s = m_at;
            while (m_at < m_s.size() && m_s[m_at] >= '0' && m_s[m_at] <= '9')
                ++m_at;
            return m_at > s;
        };
        if (m_at < m_s.size() && m_s[m_at] == '-')
            ++m_at;
        if (m_at < m_s.size() && m_s[m_at] == '0')
            ++m_at;
        else if (!digits())
            throw std::runtime_error("bad JSON value at " + std::to_string(start));
        if (m_at < m_s.size() && m_s[m_at] == '.') {
            ++m_at;
            if (!digits())
                throw std::runtime_error("bad fraction");
        }
        if (m_at < m_s.size() && (m_s[m_at] == 'e' || m_s[m_at] == 'E')) {
            ++m_at;
            if (m_at < m_s.size() && (m_s[m_at] == '+' || m_s[m_at] == '-'))
                ++m_at;
            if (!digits())
                throw std::runtime_error("bad exponent");
        }
        v.kind = Json::Number;
        v.text = m_s.substr(start, m_at - start);
        return v;
    }

    std::string string()
    {
        expect('"');
        std::string out;
        while (m_at < m_s.size() && m_s[m_at] != '"') {
            const unsigned char c = static_cast<unsigned char>(m_s[m_at++]);
            if (c < 0x20)
                throw std::runtime_error("control character in a JSON string");
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (m_at >= m_s.size())
                throw std::runtime_error("unfinished escape");
            const char e = m_s[m_at++];
            switch (e) {
            case '"':
            case '\\':
            case '/':
                out += e;
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                if (m_at + 4 > m_s.size())
                    throw std::runtime_error("short \\u escape");
                const unsigned cp = static_cast<unsigned>(std::stoul(m_s.substr(m_at, 4), nullptr, 16));
                m_at += 4;
                if (cp < 0x80) {
                    out += static_cast<char>(cp);
                } else if (cp < 0x800) {
                    out += static_cast<char>(0xC0 | (cp >> 6));
                    out += static_cast<char>(0x80 | (cp & 0x3F));
                } else {
                    out += static_cast<char>(0xE0 | (cp >> 12));
                    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
                    out += static_cast<char>(0x80 | (cp & 0x3F));
                }
                break;
            }
            default:
                throw std::runtime_error("bad escape");
            }
        }
        expect('"');
        return out;
    }

    const std::string &m_s;
    std::size_t m_at = 0;
};

} // namespace orvane::testing
