#include "platform/DefinitionEdit.h"

#include <algorithm>

namespace velt {

namespace {

template <typename Block>
void Collect(Block& block, std::vector<Block*>& out) {
    out.push_back(&block);
    for (auto& child : block.controls) Collect(child, out);
}

std::string_view TrimLine(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

std::string_view Indentation(std::string_view line) {
    std::size_t n = 0;
    while (n < line.size() && (line[n] == ' ' || line[n] == '\t')) ++n;
    return line.substr(0, n);
}

std::string_view LineEnding(std::string_view line) {
    if (line.ends_with("\r\n")) return "\r\n";
    if (line.ends_with("\n")) return "\n";
    return "";
}

bool Named(std::span<const std::wstring> keys, std::wstring_view key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

std::wstring WideKey(std::string_view key) { return std::wstring(key.begin(), key.end()); }

bool KeyLine(std::string_view key, const PropertyValue& value, std::string& out) {
    std::optional<std::string> text = PropertyValueText(value);
    if (!text) return false;
    out.append(key.begin(), key.end());
    out += " = ";
    out += *text;
    return true;
}

std::nullopt_t Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return std::nullopt;
}

} // namespace

std::vector<const ControlDefinition*> BlocksInTextOrder(const ControlDefinition& window) {
    std::vector<const ControlDefinition*> blocks;
    Collect(window, blocks);
    return blocks;
}

std::optional<std::string> ReplaceBlockProperties(std::string_view text, std::size_t block,
                                                  std::span<const std::wstring> keys,
                                                  const PropertyBag& values,
                                                  const ResourceResolver& resolve,
                                                  std::string* error) {
    std::string reason;
    std::optional<ControlDefinition> before = ParseWindowDefinition(text, resolve, &reason);
    if (!before) return Fail(error, "not a window definition: " + reason);
    std::vector<ControlDefinition*> blocks;
    Collect(*before, blocks);
    if (block >= blocks.size()) return Fail(error, "no such control");
    for (const auto& entry : values.Entries())
        if (!Named(keys, entry.first)) return Fail(error, "a value for a key not being replaced");

    // What the result must read back as: the block's own entries in their order, replaced ones
    // in place, removed ones gone, new ones last.
    PropertyBag expected;
    for (const auto& [key, value] : blocks[block]->properties.Entries()) {
        if (!Named(keys, key)) expected.Set(key, value);
        else if (const PropertyValue* replaced = values.Find(key)) expected.Set(key, *replaced);
    }
    for (const auto& [key, value] : values.Entries()) expected.Set(key, value);

    std::string out;
    out.reserve(text.size());
    std::vector<std::wstring> written;
    std::vector<std::size_t> open; // places of the blocks open at this line, innermost last
    std::size_t begins = 0;
    std::size_t insertAt = std::string::npos; // where lines for new keys go
    std::string indent, ending = "\n";
    bool propertySeen = false;
    bool first = true;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end == std::string_view::npos ? text.size()
                                                                                   : end + 1);
        text.remove_prefix(line.size());
        std::string_view content = line;
        if (first && content.starts_with("\xEF\xBB\xBF")) content.remove_prefix(3);
        first = false;
        const std::string_view trimmed = TrimLine(
            content.substr(0, content.size() - LineEnding(content).size()));
        if (trimmed.empty() || trimmed.front() == '#') {
            out += line;
        } else if (trimmed.starts_with("Begin ")) {
            open.push_back(begins++);
            out += line;
            if (open.back() == block) {
                insertAt = out.size();
                indent = std::string(Indentation(content)) + "    ";
                if (!LineEnding(content).empty()) ending = LineEnding(content);
            }
        } else if (trimmed == "End") {
            if (!open.empty()) open.pop_back();
            out += line;
        } else if (!open.empty() && open.back() == block) {
            const std::string_view key = TrimLine(trimmed.substr(0, trimmed.find('=')));
            const std::wstring wide = WideKey(key);
            if (!propertySeen) indent = Indentation(content);
            propertySeen = true;
            if (!Named(keys, wide)) {
                out += line;
            } else if (const PropertyValue* value = values.Find(wide)) {
                out += Indentation(content);
                if (!KeyLine(key, *value, out)) return Fail(error, "a text with a line break");
                out += LineEnding(content);
                written.push_back(wide);
            }
            insertAt = out.size();
        } else {
            out += line;
        }
    }
    if (insertAt == std::string::npos) return Fail(error, "no such control");

    std::string added;
    for (const auto& [key, value] : values.Entries()) {
        if (std::find(written.begin(), written.end(), key) != written.end()) continue;
        std::string narrow;
        for (wchar_t c : key) {
            if (c > 0x7F) return Fail(error, "a key that is not a name");
            narrow += static_cast<char>(c);
        }
        added += indent;
        if (!KeyLine(narrow, value, added)) return Fail(error, "a text with a line break");
        added += ending;
    }
    out.insert(insertAt, added);

    std::optional<ControlDefinition> after = ParseWindowDefinition(out, resolve, &reason);
    if (!after) return Fail(error, "the result is not a definition: " + reason);
    blocks[block]->properties = std::move(expected);
    if (!(*after == *before)) return Fail(error, "the result reads back differently");
    return out;
}

} // namespace velt
