#include "ResultReasons.h"

#include "ReaderMessages.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace tam {
namespace {

std::string systemText(int error) {
    return std::strerror(error);
}

// Why a source path cannot be read, or empty when it can.
std::string sourceProblem(const std::string& path) {
    if (path.empty())
        return "no file named";
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status))
        return systemText(ENOENT);
    if (fs::is_directory(status))
        return systemText(EISDIR);
    if (::access(path.c_str(), R_OK) != 0)
        return systemText(errno);
    if (fs::file_size(path, ec) == 0 && !ec)
        return "the file is empty";
    return std::string();
}

// Why a target cannot be written there, or empty when nothing speaks against it.
std::string targetProblem(const std::string& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return systemText(EISDIR);
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty())
        folder = ".";
    if (!fs::is_directory(folder, ec))
        return systemText(ENOENT);
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return systemText(errno);
    return std::string();
}

std::string firstBytes(const std::string& path, size_t count) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes(count, '\0');
    file.read(&bytes[0], static_cast<std::streamsize>(count));
    bytes.resize(static_cast<size_t>(file.gcount()));
    return bytes;
}

// "... Line 12: Incorrect syntax: unexpected ..." becomes "syntax error at line 12: unexpected
// ..."; other reader messages are given as they are.
std::string readerCause(const std::string& message) {
    const size_t at = message.find("Line ");
    if (at == std::string::npos)
        return message;
    size_t end = at + 5;
    while (end < message.size() && std::isdigit(static_cast<unsigned char>(message[end])))
        ++end;
    if (end == at + 5)
        return message;
    std::string rest = message.substr(end);
    for (const char* noise : {":", " ", "Incorrect syntax:", " "}) {
        if (rest.compare(0, std::strlen(noise), noise) == 0)
            rest.erase(0, std::strlen(noise));
    }
    return "syntax error at line " + message.substr(at + 5, end - at - 5) +
           (rest.empty() ? std::string() : ": " + rest);
}

bool isStepName(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == ".stp" || extension == ".step" || extension == ".p21";
}

std::string firstReaderFailure() {
    const std::vector<std::string>& failures = ReaderFailures();
    return failures.empty() ? std::string() : readerCause(failures.front());
}

std::string readCause(const std::string& path) {
    const std::string problem = sourceProblem(path);
    if (!problem.empty())
        return problem;
    if (isStepName(path) && firstBytes(path, 64).find("ISO-10303-21") == std::string::npos)
        return "not a STEP file";
    const std::string reader = firstReaderFailure();
    if (!reader.empty())
        return reader;
    return "the file is damaged or unreadable";
}

std::string causeOf(const KVXIResult& result, const std::string& source,
                    const std::string& target) {
    switch (result.GetValue()) {
        case KVXIResult::Warning: {
            const std::string reader = firstReaderFailure();
            return "damaged records were skipped or repaired" +
                   (reader.empty() ? std::string() : " (first: " + reader + ")");
        }
        case KVXIResult::WarningEntitiesSkipped:
            return "some entities could not be translated";
        case KVXIResult::NoEntities:
            return "no shapes in the file";
        case KVXIResult::FileNotFound: {
            const std::string problem = sourceProblem(source);
            return problem.empty() ? std::string("the file cannot be opened") : problem;
        }
        case KVXIResult::UnsupportedSourceType:
            return "unsupported format (not a STEP, IGES, B-rep or kernel file)";
        case KVXIResult::UnsupportedTargetType:
            return "unsupported target format";
        case KVXIResult::ReadFailed:
            return readCause(source);
        case KVXIResult::TransferFailed: {
            const std::string reader = firstReaderFailure();
            return "the shapes could not be translated" +
                   (reader.empty() ? std::string() : ": " + reader);
        }
        case KVXIResult::WriteFailed: {
            const std::string problem = targetProblem(target);
            return problem.empty() ? std::string("the file could not be written") : problem;
        }
        case KVXIResult::Interrupted:
            return "interrupted";
        default:
            return result.GetText();
    }
}

bool namesTarget(const KVXIResult& result) {
    return result.GetValue() == KVXIResult::WriteFailed ||
           result.GetValue() == KVXIResult::UnsupportedTargetType;
}

}  // namespace

KVXIResult WithReason(const KVXIResult& result, const std::string& sourcePath,
                      const std::string& targetPath) {
    if (result.IsSuccess())
        return result;
    const std::string& path = namesTarget(result) ? targetPath : sourcePath;
    const std::string cause =
        result.GetReason().empty() ? causeOf(result, sourcePath, targetPath) : result.GetReason();
    const std::string name = fs::path(path).filename().string();
    return KVXIResult(result.GetValue(), name.empty() ? cause : name + ": " + cause);
}

}  // namespace tam
