#include "StepRecordText.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tam {
namespace {

// Walks the text of a STEP file record by record; strings and comments are stepped over as a
// whole, so that the separators inside them do not count.
class RecordWalker {
public:
    explicit RecordWalker(const std::string& text) : m_text(text) {}

    // Moves to the next record "#n = ..." and returns n, or -1 at the end of the text.
    int NextRecord() {
        while (m_pos < m_text.size()) {
            SkipSpaceAndComments();
            if (m_pos < m_text.size() && m_text[m_pos] == '#') {
                ++m_pos;
                const int number = ReadNumber();
                SkipSpaceAndComments();
                if (number >= 0 && m_pos < m_text.size() && m_text[m_pos] == '=') {
                    ++m_pos;
                    return number;
                }
            }
            SkipPastSemicolon();
        }
        return -1;
    }

    // The text of the current record's top-level parameter at `position`; moves past the record.
    std::string Parameter(int position) {
        std::string found;
        int depth = 0;
        int index = 0;
        while (m_pos < m_text.size() && !(depth == 0 && m_text[m_pos] == ';')) {
            const char c = m_text[m_pos];
            if (c == '\'' || (c == '/' && Next() == '*')) {
                const std::size_t start = m_pos;
                SkipStringOrComment();
                if (depth == 1 && index == position)
                    found.append(m_text, start, m_pos - start);
                continue;
            }
            if (c == '(') {
                ++depth;
            } else if (c == ')') {
                --depth;
            } else if (c == ',' && depth == 1) {
                ++index;
            } else if (depth >= 1 && index == position) {
                found += c;
            }
            ++m_pos;
        }
        return found;
    }

private:
    char Next() const { return m_pos + 1 < m_text.size() ? m_text[m_pos + 1] : '\0'; }

    int ReadNumber() {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
        return m_pos == start ? -1 : std::atoi(m_text.c_str() + start);
    }

    void SkipSpaceAndComments() {
        while (m_pos < m_text.size()) {
            if (std::isspace(static_cast<unsigned char>(m_text[m_pos]))) {
                ++m_pos;
            } else if (m_text[m_pos] == '/' && Next() == '*') {
                SkipStringOrComment();
            } else {
                return;
            }
        }
    }

    // At a quote or "/*": moves past the closing quote (a doubled quote stays inside) or "*/".
    void SkipStringOrComment() {
        if (m_text[m_pos] == '\'') {
            ++m_pos;
            while (m_pos < m_text.size()) {
                if (m_text[m_pos] == '\'' && Next() != '\'') {
                    ++m_pos;
                    return;
                }
                m_pos += m_text[m_pos] == '\'' ? 2 : 1;
            }
            return;
        }
        const std::size_t end = m_text.find("*/", m_pos + 2);
        m_pos = end == std::string::npos ? m_text.size() : end + 2;
    }

    void SkipPastSemicolon() {
        while (m_pos < m_text.size() && m_text[m_pos] != ';') {
            if (m_text[m_pos] == '\'' || (m_text[m_pos] == '/' && Next() == '*')) {
                SkipStringOrComment();
            } else {
                ++m_pos;
            }
        }
        ++m_pos;
    }

    const std::string& m_text;
    std::size_t m_pos = 0;
};

int PlainReference(const std::string& parameter) {
    std::size_t start = parameter.find_first_not_of(" \t\r\n");
    if (start == std::string::npos || parameter[start] != '#')
        return -1;
    ++start;
    std::size_t end = start;
    while (end < parameter.size() && std::isdigit(static_cast<unsigned char>(parameter[end])))
        ++end;
    if (end == start || parameter.find_first_not_of(" \t\r\n", end) != std::string::npos)
        return -1;
    return std::atoi(parameter.c_str() + start);
}

}  // namespace

std::unordered_map<int, int> ReferencesAtParameter(const std::string& path,
                                                   const std::unordered_set<int>& records,
                                                   int position) {
    std::unordered_map<int, int> references;
    std::ifstream in(path, std::ios::binary);
    if (!in || records.empty())
        return references;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    RecordWalker walker(text);
    for (int number = walker.NextRecord(); number >= 0; number = walker.NextRecord()) {
        if (records.count(number) == 0)
            continue;
        const int target = PlainReference(walker.Parameter(position));
        if (target >= 0)
            references.emplace(number, target);
    }
    return references;
}

}  // namespace tam
