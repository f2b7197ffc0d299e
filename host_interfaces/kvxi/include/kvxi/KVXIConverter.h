// Converts a source document into a target document under a set of options.
#pragma once

#include <kvxi/KVXIDocument.h>
#include <kvxi/KVXIOptions.h>
#include <kvxi/KVXIResult.h>

class KVXIConverter {
public:
    // Progress hook: receives a fraction in 0..1; setting `cancel` to true stops the conversion
    // (result Interrupted).
    using ProgressCallback = void (*)(double fraction, bool& cancel);

    KVXIConverter() = default;

    // Copies the options used by the next conversions; replaces any earlier set.
    KVXIResult SetOptions(const KVXIOptions& options);
    // The options in force (empty until SetOptions).
    const KVXIOptions& GetOptions() const { return m_options; }
    // Installs a progress hook; null removes it.
    void SetProgressCallback(ProgressCallback callback) { m_progress = callback; }

    // Converts `source` into `target`. A file target is written whole or not at all (a temporary
    // file beside it, then renamed). Never throws; every failure is a result (see KVXIResult).
    KVXIResult Convert(const KVXIDocument& source, KVXIDocument& target);

private:
    KVXIOptions m_options;
    ProgressCallback m_progress = nullptr;
};
