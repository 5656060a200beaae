#include "platform/WindowDefinition.h"

#include <cstdint>

namespace velt {

namespace {

constexpr std::size_t kMaxText = 1 << 20;
constexpr std::size_t kMaxIdentifier = 64;
constexpr int kMaxDepth = 16;

bool IsIdentifier(std::string_view text) {
    if (text.empty() || text.size() > kMaxIdentifier) return false;
    auto letter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!letter(text[0])) return false;
    for (char c : text)
        if (!letter(c) && !digit(c)) return false;
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// UTF-8 to the platform's wide text (UTF-16 on Windows); false on a malformed sequence.
bool Widen(std::string_view text, std::wstring& out) {
    out.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        std::uint32_t code = 0;
        std::size_t length = 0;
        if (byte < 0x80) code = byte, length = 1;
        else if ((byte & 0xE0) == 0xC0) code = byte & 0x1F, length = 2;
        else if ((byte & 0xF0) == 0xE0) code = byte & 0x0F, length = 3;
        else if ((byte & 0xF8) == 0xF0) code = byte & 0x07, length = 4;
        else return false;
        if (text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        static constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kLeast[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        if constexpr (sizeof(wchar_t) == 2) {
            if (code >= 0x10000) {
                code -= 0x10000;
                out += static_cast<wchar_t>(0xD800 + (code >> 10));
                out += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
            } else {
                out += static_cast<wchar_t>(code);
            }
        } else {
            out += static_cast<wchar_t>(code);
        }
        i += length;
    }
    return true;
}

// Wide text to UTF-8; false on a lone surrogate.
bool Narrow(std::wstring_view text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto code = static_cast<std::uint32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (code >= 0xD800 && code <= 0xDBFF) {
                if (i + 1 >= text.size()) return false;
                auto low = static_cast<std::uint32_t>(text[i + 1]);
                if (low < 0xDC00 || low > 0xDFFF) return false;
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            } else if (code >= 0xDC00 && code <= 0xDFFF) {
                return false;
            }
        }
        if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return true;
}

std::wstring WidenAscii(std::string_view text) { return std::wstring(text.begin(), text.end()); }

class Parser {
public:
    Parser(const ResourceResolver& resolve, std::string* error)
        : m_resolve(resolve), m_error(error) {}

    std::optional<ControlDefinition> Parse(std::string_view text) {
        if (text.size() > kMaxText) return Fail("the text is too long");
        if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
        std::vector<ControlDefinition> open; // the innermost block last
        std::optional<ControlDefinition> window;
        while (!text.empty()) {
            ++m_line;
            std::size_t end = text.find('\n');
            std::string_view line = Trim(text.substr(0, end));
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (line.empty() || line.front() == '#') continue;
            if (window) return Fail("text after the window's End");

            if (line.substr(0, 6) == "Begin ") {
                std::string_view rest = Trim(line.substr(6));
                std::size_t space = rest.find_first_of(" \t");
                if (space == std::string_view::npos) return Fail("Begin needs a type and a name");
                std::string_view type = rest.substr(0, space);
                std::string_view name = Trim(rest.substr(space));
                if (!IsIdentifier(type) || !IsIdentifier(name)) return Fail("bad type or name");
                if (open.size() >= kMaxDepth) return Fail("blocks nested too deep");
                open.push_back({WidenAscii(type), WidenAscii(name), {}, {}});
            } else if (line == "End") {
                if (open.empty()) return Fail("End without Begin");
                ControlDefinition done = std::move(open.back());
                open.pop_back();
                if (open.empty()) window = std::move(done);
                else open.back().controls.push_back(std::move(done));
            } else {
                if (open.empty()) return Fail("a property outside any block");
                std::size_t equals = line.find('=');
                if (equals == std::string_view::npos) return Fail("expected Key = Value");
                std::string_view key = Trim(line.substr(0, equals));
                if (!IsIdentifier(key)) return Fail("bad property name");
                std::wstring wideKey = WidenAscii(key);
                if (open.back().properties.Contains(wideKey)) return Fail("property given twice");
                std::optional<PropertyValue> value = Value(Trim(line.substr(equals + 1)));
                if (!value) return std::nullopt;
                open.back().properties.Set(wideKey, std::move(*value));
            }
        }
        if (!open.empty()) return Fail("Begin without End");
        if (!window) return Fail("no window block");
        return window;
    }

private:
    std::optional<PropertyValue> Value(std::string_view text) {
        if (text == "True") return PropertyValue(true);
        if (text == "False") return PropertyValue(false);
        if (!text.empty() && text.front() == '"') {
            std::optional<std::string> literal = Literal(text);
            if (!literal) return std::nullopt;
            std::wstring wide;
            if (!Widen(*literal, wide)) return Fail("text is not UTF-8");
            return PropertyValue(std::move(wide));
        }
        if (text.substr(0, 9) == "Resource(") return Resource(text.substr(8));
        if (text.substr(0, 4) == "Hex(") return HexBytes(text.substr(3));
        return Integer(text);
    }

    // A quoted literal filling all of text; "" inside stands for one quote.
    std::optional<std::string> Literal(std::string_view text) {
        std::string out;
        std::size_t i = 1;
        for (;;) {
            if (i >= text.size()) return Fail("text without its closing quote");
            if (text[i] == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    out += '"';
                    i += 2;
                    continue;
                }
                break;
            }
            out += text[i++];
        }
        if (i + 1 != text.size()) return Fail("something after the closing quote");
        return out;
    }

    // ("...") with nothing after it: the quoted argument of Resource and Hex.
    std::optional<std::string> Argument(std::string_view text) {
        if (text.size() < 4 || text.front() != '(' || text.back() != ')')
            return Fail("expected (\"...\")");
        std::string_view inner = Trim(text.substr(1, text.size() - 2));
        if (inner.empty() || inner.front() != '"') return Fail("expected (\"...\")");
        return Literal(inner);
    }

    std::optional<PropertyValue> Resource(std::string_view text) {
        std::optional<std::string> name = Argument(text);
        if (!name) return std::nullopt;
        std::wstring wide;
        if (name->empty() || !Widen(*name, wide)) return Fail("bad resource name");
        std::optional<Bytes> bytes = m_resolve ? m_resolve(wide) : std::nullopt;
        if (!bytes) return Fail("no resource named " + *name);
        return PropertyValue(std::move(*bytes));
    }

    std::optional<PropertyValue> HexBytes(std::string_view text) {
        std::optional<std::string> digits = Argument(text);
        if (!digits) return std::nullopt;
        if (digits->size() % 2 != 0) return Fail("an odd count of hexadecimal digits");
        Bytes bytes;
        bytes.reserve(digits->size() / 2);
        for (std::size_t i = 0; i < digits->size(); i += 2) {
            int high = HexDigit((*digits)[i]);
            int low = HexDigit((*digits)[i + 1]);
            if (high < 0 || low < 0) return Fail("not a hexadecimal digit");
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
        }
        return PropertyValue(std::move(bytes));
    }

    std::optional<PropertyValue> Integer(std::string_view text) {
        if (text.substr(0, 2) == "0x") {
            std::string_view digits = text.substr(2);
            if (digits.empty() || digits.size() > 8) return Fail("bad hexadecimal number");
            std::uint32_t value = 0;
            for (char c : digits) {
                int d = HexDigit(c);
                if (d < 0) return Fail("bad hexadecimal number");
                value = value * 16 + static_cast<std::uint32_t>(d);
            }
            return PropertyValue(static_cast<std::int32_t>(value));
        }
        bool negative = !text.empty() && text.front() == '-';
        std::string_view digits = negative ? text.substr(1) : text;
        if (digits.empty() || digits.size() > 10) return Fail("bad value");
        std::int64_t value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') return Fail("bad value");
            value = value * 10 + (c - '0');
        }
        if (negative) value = -value;
        if (value < INT32_MIN || value > INT32_MAX) return Fail("number out of range");
        return PropertyValue(static_cast<std::int32_t>(value));
    }

    std::nullopt_t Fail(const std::string& message) {
        if (m_error) *m_error = "line " + std::to_string(m_line) + ": " + message;
        return std::nullopt;
    }

    const ResourceResolver& m_resolve;
    std::string* m_error;
    int m_line = 0;
};

bool IsIdentifier(std::wstring_view text) {
    std::string narrow;
    for (wchar_t c : text) {
        if (c > 0x7F) return false;
        narrow += static_cast<char>(c);
    }
    return IsIdentifier(std::string_view(narrow));
}

bool Write(const ControlDefinition& block, int depth, std::string& out) {
    if (depth >= kMaxDepth) return false;
    if (!IsIdentifier(std::wstring_view(block.type)) ||
        !IsIdentifier(std::wstring_view(block.name)))
        return false;
    std::string indent(static_cast<std::size_t>(depth) * 4, ' ');
    std::string type, name;
    Narrow(block.type, type);
    Narrow(block.name, name);
    out += indent + "Begin " + type + " " + name + "\n";
    for (const auto& [key, value] : block.properties.Entries()) {
        std::string narrowKey;
        if (!IsIdentifier(std::wstring_view(key)) || !Narrow(key, narrowKey)) return false;
        std::optional<std::string> valueText = PropertyValueText(value);
        if (!valueText) return false;
        out += indent + "    " + narrowKey + " = " + *valueText + "\n";
    }
    for (const ControlDefinition& child : block.controls)
        if (!Write(child, depth + 1, out)) return false;
    out += indent + "End\n";
    return true;
}

} // namespace

std::optional<std::string> PropertyValueText(const PropertyValue& value) {
    std::string out;
    if (const bool* flag = std::get_if<bool>(&value)) {
        out = *flag ? "True" : "False";
    } else if (const std::int32_t* number = std::get_if<std::int32_t>(&value)) {
        out = std::to_string(*number);
    } else if (const std::wstring* text = std::get_if<std::wstring>(&value)) {
        std::string utf8;
        if (!Narrow(*text, utf8) || utf8.find_first_of("\r\n") != std::string::npos)
            return std::nullopt;
        out += '"';
        for (char c : utf8) out += c == '"' ? std::string("\"\"") : std::string(1, c);
        out += '"';
    } else {
        static constexpr char kDigits[] = "0123456789ABCDEF";
        const Bytes& bytes = std::get<Bytes>(value);
        out.reserve(bytes.size() * 2 + 7);
        out += "Hex(\"";
        for (std::uint8_t byte : bytes) {
            out += kDigits[byte >> 4];
            out += kDigits[byte & 15];
        }
        out += "\")";
    }
    return out;
}

const ControlDefinition* ControlDefinition::Find(std::wstring_view controlName) const {
    for (const ControlDefinition& control : controls) {
        if (control.name == controlName) return &control;
        if (const ControlDefinition* inner = control.Find(controlName)) return inner;
    }
    return nullptr;
}

std::optional<ControlDefinition> ParseWindowDefinition(std::string_view text,
                                                       const ResourceResolver& resolve,
                                                       std::string* error) {
    return Parser(resolve, error).Parse(text);
}

std::optional<std::string> SerializeWindowDefinition(const ControlDefinition& window) {
    std::string out;
    if (!Write(window, 0, out)) return std::nullopt;
    return out;
}

} // namespace velt
