// An index of the records of a STEP file's data section, read as text: what a walk over the
// product structure needs (record types, parameters, references, strings) without Open
// CASCADE's parser, and the text of any set of records to hand to it as a file of their own.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tam {

class StepRecords {
public:
    // Reads and indexes the file; false when it cannot be read or has no data section.
    bool Load(const std::string& path);

    // Record numbers in file order.
    const std::vector<int>& Ids() const { return m_ids; }
    // The keyword of a simple record ("PRODUCT"); "" for a complex record or a missing one.
    std::string_view Type(int id) const;
    // The top-level parameters of a simple record, or of the part named `part` of a complex
    // one; empty when there is no such record or part.
    std::vector<std::string_view> Params(int id, std::string_view part = {}) const;
    // Every record number the record refers to, in text order.
    std::vector<int> References(int id) const;
    // A STEP file holding the original header and the given records (numbers kept), followed by
    // `extra` (records of its own, each ending with ";\n").
    std::string FileOf(const std::vector<int>& ids, const std::string& extra) const;
    // One past the largest record number.
    int NextFreeId() const { return m_maxId + 1; }

    // "#12" gives 12; anything else -1.
    static int Ref(std::string_view param);
    // The numbers of a list "(1.,2.,3.)".
    static std::vector<double> Numbers(std::string_view list);
    // The text of a STEP string ('it''s \X2\0416\X0\') in UTF-8; "" for $ or no string.
    static std::string Text(std::string_view param);

private:
    std::string_view Body(int id) const;

    std::string m_text;
    std::size_t m_dataEnd = 0;  // where the header ends ("DATA;" is kept with it)
    std::unordered_map<int, std::pair<std::size_t, std::size_t>> m_records;
    std::vector<int> m_ids;
    int m_maxId = 0;
};

}  // namespace tam
