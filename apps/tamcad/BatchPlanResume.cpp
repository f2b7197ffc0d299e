// A batch's outputs and the records that let a stopped batch resume.
#include "BatchPlan.h"

#include <nlohmann/json.hpp>

#include <fstream>
#include <system_error>

namespace tam {
namespace {

namespace fs = std::filesystem;

bool readRecord(const fs::path& path, ConversionRecord& record) {
    std::ifstream in(path);
    if (!in)
        return false;
    const nlohmann::json json = nlohmann::json::parse(in, nullptr, false);
    if (!json.is_object() || !json.contains("options") || !json["options"].is_array())
        return false;
    record = ConversionRecord();
    for (const nlohmann::json& option : json["options"]) {
        if (!option.is_string())
            return false;
        record.options.push_back(option.get<std::string>());
    }
    record.triangles = json.value("triangles", std::uint64_t{0});
    record.seconds = json.value("seconds", 0.0);
    return true;
}

}  // namespace

DocumentOutputs outputsOf(const BatchDocument& document, const fs::path& outputFolder,
                          const std::vector<std::string>& formats) {
    DocumentOutputs outputs;
    const fs::path base = outputFolder / fs::path(document.relative);
    for (const std::string& format : formats)
        outputs.files.push_back(base.string() + "." + format);
    outputs.record = base.string() + ".batch.json";
    return outputs;
}

bool writeRecord(const fs::path& path, const ConversionRecord& record) {
    const nlohmann::json json = {
        {"options", record.options}, {"triangles", record.triangles}, {"seconds", record.seconds}};
    // Written beside and renamed, so that a killed batch never leaves half a record.
    const fs::path temporary = path.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << json.dump() << "\n";
        if (!out.flush())
            return false;
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec)
        fs::remove(temporary, ec);
    return !ec;
}

bool isUpToDate(const BatchDocument& document, const DocumentOutputs& outputs,
                const std::vector<std::string>& options, ConversionRecord& record) {
    std::error_code ec;
    const fs::file_time_type sourceTime = fs::last_write_time(document.source, ec);
    if (ec)
        return false;
    for (const fs::path& output : outputs.files) {
        const fs::file_time_type outputTime = fs::last_write_time(output, ec);
        if (ec || outputTime <= sourceTime)
            return false;
    }
    ConversionRecord written;
    if (!readRecord(outputs.record, written) || written.options != options)
        return false;
    record = written;
    return true;
}

}  // namespace tam
