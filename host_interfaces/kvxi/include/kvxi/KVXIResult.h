// Result of a translator call: a number, its class, a fixed text and the reason of a failure.
#pragma once

#include <string>

// How a result number is to be taken by a caller.
enum class KVXIResultClass {
    Success,           // 0
    TreatedAsSuccess,  // 0x1000011, 0x1000012: done, with a remark that needs no action
    Warning,           // 1, 0x2000003: done, but the reader fixed or skipped something
    NoEntities,        // 2: nothing to convert or nothing came out
    Error              // every other number
};

// The value every translator call returns. Copyable, never throws.
class KVXIResult {
public:
    // Numbers the translator returns; docs/translator.md explains each one.
    enum Code : int {
        Success = 0,
        Warning = 1,                // the reader fixed or repaired something in the source
        NoEntities = 2,             // the source holds nothing that could be converted
        NotInitialized = 3,         // KVXISystem::Initialize was not called
        InvalidArgument = 4,        // bad unit, empty option name, unusable document
        FileNotFound = 5,           // the source file does not exist or cannot be opened
        UnsupportedSourceType = 6,  // the type tag or file content is not a readable format
        UnsupportedTargetType = 7,  // the target path or type names no writable format
        ReadFailed = 8,             // the source file is damaged or could not be parsed
        TransferFailed = 9,         // the parsed source could not become shapes or entities
        WriteFailed = 10,           // the target could not be written (path, permissions, data)
        Interrupted = 11,           // cancelled by the progress hook or over its time limit
        KernelError = 12,           // the kernel refused an operation (not running, bad entity)
        InternalError = 13,         // an unexpected failure inside the translator
        SuccessOptionsIgnored = 0x1000011,  // done; some given options do not apply here
        SuccessDataReduced = 0x1000012,     // done; the target format keeps only part of the data
        WarningEntitiesSkipped = 0x2000003  // done; some entities could not be translated
    };

    // A success result (value 0).
    KVXIResult() = default;
    // A result holding any number, known or not.
    KVXIResult(int value) : m_value(value) {}
    // A result with the reason it came about, naming the file and the cause ("part.step: syntax
    // error at line 12: ...").
    KVXIResult(int value, std::string reason) : m_value(value), m_reason(std::move(reason)) {}

    // The numeric value.
    int GetValue() const { return m_value; }
    // The class of the value (see KVXIResultClass).
    KVXIResultClass GetClass() const { return Classify(m_value); }
    // True for 0, 0x1000011 and 0x1000012.
    bool IsSuccess() const;
    // True for "no entities" and every error; warnings are neither success nor failure.
    bool IsFailure() const;
    // True for 1 and 0x2000003.
    bool IsWarning() const;
    // Fixed English text for the value; "unknown translator result" for unknown numbers.
    const char* GetText() const { return GetText(m_value); }
    // Why the translator gave this result; empty when it gave no reason (successes, or results
    // made from a number alone).
    const std::string& GetReason() const { return m_reason; }

    // Folds another result into this one: the worse class wins (with its reason), ties keep this
    // one.
    KVXIResult& operator&=(const KVXIResult& other);

    bool operator==(const KVXIResult& other) const { return m_value == other.m_value; }
    bool operator!=(const KVXIResult& other) const { return m_value != other.m_value; }

    // The class of any number.
    static KVXIResultClass Classify(int value);
    // The text of any number; never null.
    static const char* GetText(int value);

private:
    int m_value = Success;
    std::string m_reason;
};
