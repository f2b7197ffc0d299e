#include "StepRecords.h"

#include <platform/CodePage.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tam {
namespace {

bool IsIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Moves `pos` past a string or comment starting at it.
void SkipStringOrComment(std::string_view text, std::size_t& pos) {
    if (text[pos] == '\'') {
        for (++pos; pos < text.size(); ++pos) {
            if (text[pos] != '\'')
                continue;
            if (pos + 1 < text.size() && text[pos + 1] == '\'') {
                ++pos;
                continue;
            }
            ++pos;
            return;
        }
        return;
    }
    const std::size_t end = text.find("*/", pos + 2);
    pos = end == std::string_view::npos ? text.size() : end + 2;
}

bool StartsStringOrComment(std::string_view text, std::size_t pos) {
    return text[pos] == '\'' || (text[pos] == '/' && pos + 1 < text.size() && text[pos + 1] == '*');
}

// Splits the parameter list that opens at `open` (a '(') at its top-level commas.
std::vector<std::string_view> SplitList(std::string_view text, std::size_t open) {
    std::vector<std::string_view> params;
    int depth = 0;
    std::size_t start = open + 1;
    for (std::size_t pos = open; pos < text.size();) {
        if (StartsStringOrComment(text, pos)) {
            SkipStringOrComment(text, pos);
            continue;
        }
        const char c = text[pos];
        if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            params.push_back(text.substr(start, pos - start));
            return params;
        } else if (c == ',' && depth == 1) {
            params.push_back(text.substr(start, pos - start));
            start = pos + 1;
        }
        ++pos;
    }
    return {};
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads hexadecimal digits in groups of `width` up to "\X0\", appending each group as a code
// point (UTF-16 groups pair up their surrogates).
std::size_t DecodeHexRun(std::string_view text, std::size_t pos, int width, std::u32string& out) {
    char32_t high = 0;
    while (pos + width <= text.size() && text[pos] != '\\') {
        char32_t code = 0;
        for (int i = 0; i < width; ++i)
            code = code * 16 + static_cast<char32_t>(std::max(0, HexValue(text[pos + i])));
        pos += width;
        if (width == 4 && code >= 0xD800 && code < 0xDC00) {
            high = code;
            continue;
        }
        if (width == 4 && code >= 0xDC00 && code < 0xE000 && high != 0)
            code = 0x10000 + ((high - 0xD800) << 10) + (code - 0xDC00);
        high = 0;
        out += code;
    }
    return text.compare(pos, 4, "\\X0\\") == 0 ? pos + 4 : pos;
}

}  // namespace

bool StepRecords::Load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    m_text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const std::size_t data = m_text.find("DATA;");
    if (data == std::string::npos)
        return false;
    m_dataEnd = data + 5;
    const std::string_view text(m_text);
    std::size_t pos = m_dataEnd;
    while (pos < text.size()) {
        if (StartsStringOrComment(text, pos)) {
            SkipStringOrComment(text, pos);
            continue;
        }
        if (text[pos] != '#') {
            if (text.compare(pos, 7, "ENDSEC;") == 0)
                break;
            ++pos;
            continue;
        }
        const int id = std::atoi(m_text.c_str() + pos + 1);
        const std::size_t equals = text.find('=', pos);
        if (equals == std::string_view::npos)
            break;
        std::size_t end = equals + 1;
        while (end < text.size() && text[end] != ';') {
            if (StartsStringOrComment(text, end))
                SkipStringOrComment(text, end);
            else
                ++end;
        }
        if (id > 0 && m_records.emplace(id, std::make_pair(equals + 1, end)).second) {
            m_ids.push_back(id);
            m_maxId = std::max(m_maxId, id);
        }
        pos = end + 1;
    }
    return !m_ids.empty();
}

std::string_view StepRecords::Body(int id) const {
    const auto found = m_records.find(id);
    if (found == m_records.end())
        return {};
    return Trim(std::string_view(m_text).substr(found->second.first,
                                                found->second.second - found->second.first));
}

std::string_view StepRecords::Type(int id) const {
    const std::string_view body = Body(id);
    std::size_t length = 0;
    while (length < body.size() && IsIdentifierChar(body[length]))
        ++length;
    return body.substr(0, length);
}

std::vector<std::string_view> StepRecords::Params(int id, std::string_view part) const {
    const std::string_view body = Body(id);
    if (body.empty())
        return {};
    if (part.empty()) {
        const std::size_t open = body.find('(');
        return open == std::string_view::npos || Type(id).empty() ? std::vector<std::string_view>()
                                                                  : SplitList(body, open);
    }
    // A complex record: (PART_A(...) PART_B(...) ...); find the named part at depth one.
    int depth = 0;
    for (std::size_t pos = 0; pos < body.size();) {
        if (StartsStringOrComment(body, pos)) {
            SkipStringOrComment(body, pos);
            continue;
        }
        const char c = body[pos];
        if (c == '(' || c == ')') {
            depth += c == '(' ? 1 : -1;
            ++pos;
            continue;
        }
        if (depth == 1 && IsIdentifierChar(c)) {
            std::size_t end = pos;
            while (end < body.size() && IsIdentifierChar(body[end]))
                ++end;
            std::size_t open = end;
            while (open < body.size() && std::isspace(static_cast<unsigned char>(body[open])))
                ++open;
            if (body.substr(pos, end - pos) == part && open < body.size() && body[open] == '(')
                return SplitList(body, open);
            pos = end;
            continue;
        }
        ++pos;
    }
    return {};
}

std::vector<int> StepRecords::References(int id) const {
    std::vector<int> refs;
    const std::string_view body = Body(id);
    for (std::size_t pos = 0; pos < body.size();) {
        if (StartsStringOrComment(body, pos)) {
            SkipStringOrComment(body, pos);
            continue;
        }
        if (body[pos] == '#')
            refs.push_back(std::atoi(std::string(body.substr(pos + 1, 12)).c_str()));
        ++pos;
    }
    return refs;
}

std::string StepRecords::FileOf(const std::vector<int>& ids, const std::string& extra) const {
    std::string file = m_text.substr(0, m_dataEnd) + "\n";
    for (const int id : ids) {
        const auto found = m_records.find(id);
        if (found == m_records.end())
            continue;
        file += "#" + std::to_string(id) + "=";
        file.append(m_text, found->second.first, found->second.second - found->second.first);
        file += ";\n";
    }
    return file + extra + "ENDSEC;\nEND-ISO-10303-21;\n";
}

int StepRecords::Ref(std::string_view param) {
    param = Trim(param);
    if (param.size() < 2 || param[0] != '#')
        return -1;
    return std::atoi(std::string(param.substr(1)).c_str());
}

std::vector<double> StepRecords::Numbers(std::string_view list) {
    std::vector<double> numbers;
    const std::string text(Trim(list));
    const char* p = text.c_str();
    while (*p) {
        if (*p == '(' || *p == ',' || *p == ')' || std::isspace(static_cast<unsigned char>(*p))) {
            ++p;
            continue;
        }
        char* end = nullptr;
        const double value = std::strtod(p, &end);
        if (end == p)
            break;
        numbers.push_back(value);
        p = end;
    }
    return numbers;
}

std::string StepRecords::Text(std::string_view param) {
    param = Trim(param);
    if (param.size() < 2 || param.front() != '\'' || param.back() != '\'')
        return "";
    const std::string_view text = param.substr(1, param.size() - 2);
    std::u32string decoded;
    std::string plain;  // 8-bit text between escapes, taken as UTF-8
    auto flush = [&]() {
        for (const wchar_t c : Utf8ToWideReplacing(plain))
            decoded += static_cast<char32_t>(c);
        plain.clear();
    };
    for (std::size_t pos = 0; pos < text.size();) {
        if (text[pos] == '\'' && pos + 1 < text.size() && text[pos + 1] == '\'') {
            plain += '\'';
            pos += 2;
        } else if (text.compare(pos, 4, "\\X2\\") == 0 || text.compare(pos, 4, "\\X4\\") == 0) {
            flush();
            pos = DecodeHexRun(text, pos + 4, text[pos + 2] == '2' ? 4 : 8, decoded);
        } else if (text.compare(pos, 3, "\\X\\") == 0 && pos + 5 <= text.size()) {
            flush();
            decoded +=
                static_cast<char32_t>(HexValue(text[pos + 3]) * 16 + HexValue(text[pos + 4]));
            pos += 5;
        } else if (text.compare(pos, 3, "\\S\\") == 0 && pos + 4 <= text.size()) {
            flush();
            decoded += static_cast<char32_t>(static_cast<unsigned char>(text[pos + 3]) + 128);
            pos += 4;
        } else if (text.compare(pos, 2, "\\\\") == 0) {
            plain += '\\';
            pos += 2;
        } else {
            plain += text[pos++];
        }
    }
    flush();
    std::wstring wide;
    for (const char32_t c : decoded)
        wide += static_cast<wchar_t>(c);
    return WideToUtf8Replacing(wide);
}

}  // namespace tam
