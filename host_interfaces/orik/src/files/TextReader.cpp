// Reading the text kernel file. Every step checks what it reads; anything unexpected, missing
// or out of range throws ORIK_FILE_DAMAGED, so damaged files never give partial documents.
#include "FileFormat.h"
#include "ShapeCodec.h"
#include "TextWords.h"

#include <orik/orik_exception.h>
#include <orik/outcome.h>

#include <cctype>
#include <charconv>
#include <cstring>

namespace orik {
namespace files {

namespace {

[[noreturn]] void damaged() {
    throw orik_exception(ORIK_FILE_DAMAGED);
}

class TextReader {
public:
    TextReader(const char* data, size_t size) : data_(data), size_(size) {}

    KernelDocument read() {
        KernelDocument document;
        expect("geometry");
        const size_t shapeCount = count();
        const size_t byteCount = count();
        if (pos_ >= size_ || data_[pos_] != '\n' || byteCount > size_ - pos_ - 1)
            damaged();
        const std::string geometry(data_ + pos_ + 1, byteCount);
        pos_ += 1 + byteCount;
        document.shapes = decodeShapes(geometry, shapeCount, false);
        expect("entities");
        const size_t entityCount = count();
        for (size_t i = 0; i < entityCount; ++i)
            document.entities.push_back(readEntity());
        expect("list");
        const size_t listCount = count();
        for (size_t i = 0; i < listCount; ++i)
            document.list.push_back(readRef());
        expect("end");
        skipSpace();
        if (pos_ != size_)
            damaged();
        return document;
    }

private:
    EntityRecord readEntity() {
        expect("entity");
        EntityRecord record;
        record.type = wordIndex(kEntityWords, kEntityWordCount, word());
        if (record.type <= 0)
            damaged();
        std::string next = word();
        if (next == "shape") {
            record.shape = integer<int32_t>();
            next = word();
        }
        if (record.type == ORIK_WCS_TYPE) {
            if (next != "axes")
                damaged();
            for (auto* triple : {&record.axes.origin, &record.axes.xDirection,
                                 &record.axes.yDirection, &record.axes.zDirection}) {
                for (double& value : *triple)
                    value = number();
            }
            next = word();
        } else if (record.type != ORIK_COLLECTION_TYPE) {
            if (next != "placement")
                damaged();
            readTransform(record.placement);
            next = word();
        }
        Decorations* target = &record.decorations;
        for (; next != "end"; next = word()) {
            if (next == "color") {
                target->color = std::array<double, 3>{number(), number(), number()};
            } else if (next == "attribute") {
                target->attributes.push_back(readAttribute());
            } else if (next == "sub") {
                SubEntityRecord sub;
                sub.kind = readKind(word());
                sub.index = integer<uint32_t>();
                record.subEntities.push_back(std::move(sub));
                target = &record.subEntities.back().decorations;
            } else if (next == "member") {
                MemberRecord member;
                member.entity = readRef();
                const std::string ownership = word();
                if (ownership != "owned" && ownership != "shared")
                    damaged();
                member.owned = ownership == "owned";
                record.members.push_back(member);
            } else {
                damaged();
            }
        }
        return record;
    }

    void readTransform(TransformRecord& t) {
        t.form = integer<int32_t>();
        t.scale = number();
        for (double& value : t.matrix)
            value = number();
        for (double& value : t.translation)
            value = number();
    }

    AttributeRecord readAttribute() {
        AttributeRecord a;
        const int kind = wordIndex(kAttributeWords, kAttributeWordCount, word());
        if (kind < 0)
            damaged();
        a.kind = ATTRIB_GEN_NAME_TYPE + kind;
        a.name = quoted();
        switch (a.kind) {
            case ATTRIB_GEN_ENTITY_TYPE:
                a.entity = readRef();
                break;
            case ATTRIB_GEN_INTEGER_TYPE:
                a.integer = integer<int32_t>();
                break;
            case ATTRIB_GEN_REAL_TYPE:
                a.real = number();
                break;
            case ATTRIB_GEN_POSITION_TYPE:
            case ATTRIB_GEN_VECTOR_TYPE:
                for (double& value : a.xyz)
                    value = number();
                break;
            case ATTRIB_GEN_STRING_TYPE:
                a.text = quoted();
                break;
            case ATTRIB_GEN_WSTRING_TYPE:
                a.wideText = quotedWide();
                break;
            default:
                break;
        }
        return a;
    }

    static SubEntityKind readKind(const std::string& word) {
        const int kind = wordIndex(kKindWords, kSubEntityKindCount, word);
        if (kind < 0)
            damaged();
        return SubEntityKind(kind);
    }

    // "none", "3" or "3.face.12".
    EntityRef readRef() {
        EntityRef ref;
        const std::string text = word();
        if (text == "none")
            return ref;
        const size_t firstDot = text.find('.');
        ref.record = parseInteger<int32_t>(text.substr(0, firstDot));
        if (ref.record < 0)
            damaged();
        if (firstDot == std::string::npos)
            return ref;
        const size_t secondDot = text.find('.', firstDot + 1);
        if (secondDot == std::string::npos)
            damaged();
        ref.sub = true;
        ref.kind = readKind(text.substr(firstDot + 1, secondDot - firstDot - 1));
        ref.index = parseInteger<uint32_t>(text.substr(secondDot + 1));
        return ref;
    }

    void skipSpace() {
        while (pos_ < size_ && (data_[pos_] == ' ' || data_[pos_] == '\n' || data_[pos_] == '\t' ||
                                data_[pos_] == '\r')) {
            ++pos_;
        }
    }

    // The next token up to white space (quoted texts are read by quoted()).
    std::string word() {
        skipSpace();
        const size_t start = pos_;
        while (pos_ < size_ && data_[pos_] != ' ' && data_[pos_] != '\n' && data_[pos_] != '\t' &&
               data_[pos_] != '\r') {
            ++pos_;
        }
        if (pos_ == start)
            damaged();
        return std::string(data_ + start, pos_ - start);
    }

    void expect(const char* keyword) {
        if (word() != keyword)
            damaged();
    }

    template <class T>
    static T parseInteger(const std::string& text) {
        T value{};
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size())
            damaged();
        return value;
    }

    template <class T>
    T integer() {
        return parseInteger<T>(word());
    }

    // A count of things still to come: each takes at least one byte, so no count can be larger
    // than what is left (this also keeps damaged counts from asking for huge memory).
    size_t count() {
        const uint64_t value = integer<uint64_t>();
        if (value > size_ - pos_)
            damaged();
        return size_t(value);
    }

    double number() {
        const std::string text = word();
        double value = 0.0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec != std::errc() || result.ptr != text.data() + text.size())
            damaged();
        return value;
    }

    // Reads a quoted text, handing each escape's value (or plain character) to take.
    template <class Take>
    void readQuoted(Take&& take) {
        skipSpace();
        if (pos_ >= size_ || data_[pos_] != '"')
            damaged();
        for (++pos_;; ++pos_) {
            if (pos_ >= size_)
                damaged();
            const char c = data_[pos_];
            if (c == '"')
                break;
            if (c != '\\') {
                take(uint32_t(uint8_t(c)), false);
                continue;
            }
            if (++pos_ >= size_)
                damaged();
            if (data_[pos_] == 'x') {
                take(hexDigits(2, 2), true);
            } else if (data_[pos_] == 'u' && pos_ + 1 < size_ && data_[pos_ + 1] == '{') {
                ++pos_;
                take(hexDigits(1, 8), false);
                if (pos_ + 1 >= size_ || data_[pos_ + 1] != '}')
                    damaged();
                ++pos_;
            } else {
                damaged();
            }
        }
        ++pos_;
        if (pos_ < size_ && data_[pos_] != ' ' && data_[pos_] != '\n')
            damaged();
    }

    // Reads between least and most hex digits starting after pos_; pos_ ends on the last one.
    uint32_t hexDigits(int least, int most) {
        uint32_t value = 0;
        int digits = 0;
        while (digits < most && pos_ + 1 < size_ && std::isxdigit(uint8_t(data_[pos_ + 1]))) {
            const char c = data_[++pos_];
            value =
                value * 16 + uint32_t(std::isdigit(uint8_t(c)) ? c - '0' : (c | 0x20) - 'a' + 10);
            ++digits;
        }
        if (digits < least)
            damaged();
        return value;
    }

    std::string quoted() {
        std::string text;
        readQuoted([&text](uint32_t value, bool) {
            if (value > 0xff)
                damaged();
            text += char(value);
        });
        return text;
    }

    std::wstring quotedWide() {
        std::wstring text;
        readQuoted([&text](uint32_t value, bool byteEscape) {
            if (byteEscape)
                damaged();
            text += wchar_t(value);
        });
        return text;
    }

    const char* data_;
    size_t size_;
    size_t pos_ = 0;
};

}  // namespace

bool looksLikeText(const char* data, size_t size) {
    const size_t magic = std::strlen(kTextMagic);
    return size >= magic && std::memcmp(data, kTextMagic, magic) == 0;
}

KernelDocument readText(const char* data, size_t size) {
    if (!looksLikeText(data, size))
        damaged();
    // "ORIK-TEXT <version>\nchecksum <16 hex digits> <payload size>\n<payload>"
    const char* end = data + size;
    const char* cursor = data + std::strlen(kTextMagic);
    uint32_t version = 0;
    auto parsed = std::from_chars(cursor, end, version);
    if (parsed.ec != std::errc() || parsed.ptr == end || *parsed.ptr != '\n')
        damaged();
    if (version > kFormatVersion)
        throw orik_exception(ORIK_FILE_VERSION);
    if (version == 0)
        damaged();
    cursor = parsed.ptr + 1;
    const char label[] = "checksum ";
    if (size_t(end - cursor) < sizeof label - 1 || std::memcmp(cursor, label, sizeof label - 1))
        damaged();
    cursor += sizeof label - 1;
    uint64_t checksum = 0;
    parsed = std::from_chars(cursor, end, checksum, 16);
    if (parsed.ec != std::errc() || parsed.ptr - cursor != 16 || parsed.ptr == end ||
        *parsed.ptr != ' ')
        damaged();
    uint64_t payloadSize = 0;
    cursor = parsed.ptr + 1;
    parsed = std::from_chars(cursor, end, payloadSize);
    if (parsed.ec != std::errc() || parsed.ptr == end || *parsed.ptr != '\n')
        damaged();
    const char* payload = parsed.ptr + 1;
    if (uint64_t(end - payload) != payloadSize || checksumOf(payload, payloadSize) != checksum)
        damaged();
    return TextReader(payload, payloadSize).read();
}

}  // namespace files
}  // namespace orik
