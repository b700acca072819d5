// The ISCII side of the Unicode bridge against ICU's ISCII converter for Kannada, on every
// single code, on the sequences ICU gives a meaning, and on real words.
#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <cstdio>
#include <string>
#include <vector>

#include "convert/unicode.h"

namespace {

// ICU's conversion, or nothing when ICU reports any error (a code it does not define).
struct Icu {
    UConverter *converter = nullptr;
    Icu() {
        UErrorCode status = U_ZERO_ERROR;
        converter = ucnv_open("ISCII,version=7", &status);
        if (U_FAILURE(status)) converter = nullptr;
        if (!converter) return;
        ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    }
    ~Icu() {
        if (converter) ucnv_close(converter);
    }
    bool ToUtf8(const std::string &iscii, std::string &utf8) {
        std::vector<UChar> u(iscii.size() * 4 + 8);
        UErrorCode status = U_ZERO_ERROR;
        ucnv_resetToUnicode(converter);
        int32_t n = ucnv_toUChars(converter, u.data(), static_cast<int32_t>(u.size()), iscii.data(),
                                  static_cast<int32_t>(iscii.size()), &status);
        if (U_FAILURE(status)) return false;
        utf8.clear();
        for (int32_t i = 0; i < n; i++) {
            uint32_t cp = u[i];
            if (cp < 0x80) {
                utf8.push_back(static_cast<char>(cp));
            } else if (cp < 0x800) {
                utf8.push_back(static_cast<char>(0xC0 | (cp >> 6)));
                utf8.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
            } else {
                utf8.push_back(static_cast<char>(0xE0 | (cp >> 12)));
                utf8.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
                utf8.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
            }
        }
        return true;
    }
    bool FromUtf16(const std::u16string &text, std::string &iscii) {
        std::vector<char> out(text.size() * 4 + 8);
        UErrorCode status = U_ZERO_ERROR;
        ucnv_resetFromUnicode(converter);
        int32_t n = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                    reinterpret_cast<const UChar *>(text.data()), static_cast<int32_t>(text.size()),
                                    &status);
        if (U_FAILURE(status)) return false;
        iscii.assign(out.data(), n);
        return true;
    }
};

std::string Ours(const std::string &iscii) {
    std::string out(kUnicodePerIscii * iscii.size() + 1, '\0');
    size_t n = IsciiToUnicode(reinterpret_cast<const uint8_t *>(iscii.data()), iscii.size(),
                              reinterpret_cast<uint8_t *>(&out[0]));
    out.resize(n);
    return out;
}

std::u16string Utf16(const std::string &utf8) {
    std::u16string s;
    for (size_t i = 0; i < utf8.size();) {
        uint8_t b = static_cast<uint8_t>(utf8[i]);
        uint32_t cp;
        if (b < 0x80) {
            cp = b;
            i += 1;
        } else if (b < 0xE0) {
            cp = ((b & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
            i += 2;
        } else {
            cp = ((b & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
            i += 3;
        }
        s.push_back(static_cast<char16_t>(cp));
    }
    return s;
}

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s.push_back(static_cast<char>(c));
    return s;
}

TEST(IsciiAgainstIcu, EverySingleCodeIcuDefines) {
    Icu icu;
    ASSERT_NE(icu.converter, nullptr);
    int defined = 0;
    for (int c = 1; c < 256; c++) {
        std::string expected;
        if (!icu.ToUtf8(std::string(1, static_cast<char>(c)), expected) || expected.empty()) continue;
        defined++;
        EXPECT_EQ(Ours(std::string(1, static_cast<char>(c))), expected) << "ISCII " << c;
    }
    EXPECT_GE(defined, 127 + 70);
}

TEST(IsciiAgainstIcu, SequencesIcuGivesAMeaning) {
    Icu icu;
    ASSERT_NE(icu.converter, nullptr);
    for (const std::string &iscii :
         {Bytes({179, 232, 232, 179}), Bytes({179, 232, 233, 179}), Bytes({166, 233}), Bytes({167, 233}),
          Bytes({170, 233}), Bytes({179, 223, 233}), Bytes({217, 179}), Bytes({179, 232, 180, 219, 162}),
          Bytes({186, 232, 188, 218, 32, 49})}) {
        std::string expected;
        ASSERT_TRUE(icu.ToUtf8(iscii, expected));
        EXPECT_EQ(Ours(iscii), expected);
    }
}

// What this system's ISCII means differently from ICU's reading, on purpose: RA + halant
// + consonant is RA with the subscript (the repha is 208), and a halant shown at the end of a
// word needs no joiner after it.
bool ReadDifferently(const std::string &iscii) {
    for (size_t i = 0; i + 1 < iscii.size(); i++) {
        uint8_t c = static_cast<uint8_t>(iscii[i]), d = static_cast<uint8_t>(iscii[i + 1]);
        if (c == 207 && d == 232) return true;
        if (c == 232 && d == 232) {
            uint8_t after = i + 2 < iscii.size() ? static_cast<uint8_t>(iscii[i + 2]) : 0;
            if (!(after >= 179 && after <= 216)) return true;
        }
    }
    return false;
}

TEST(IsciiAgainstIcu, RealWords) {
    Icu icu;
    ASSERT_NE(icu.converter, nullptr);
    std::vector<std::string> words = {"ಕನ್ನಡ", "ಬೆಂಗಳೂರು", "ವಿದ್ಯಾರ್ಥಿ", "ಸ್ತ್ರೀ", "ಕ್ಷಮಿಸಿ", "ಜ್ಞಾನ", "ಮೈಸೂರು", "ಗೌರವ", "ಋಷಿ", "ಔಷಧ"};
    if (FILE *pipe = popen("aspell -d kn dump master 2>/dev/null", "r")) {
        char line[1024];
        while (std::fgets(line, sizeof line, pipe)) {
            std::string w(line);
            while (!w.empty() && (w.back() == '\n' || w.back() == '\r')) w.pop_back();
            if (!w.empty()) words.push_back(w);
        }
        pclose(pipe);
    }
    int compared = 0, agreed = 0, different = 0;
    for (const std::string &word : words) {
        std::string iscii, expected;
        if (!icu.FromUtf16(Utf16(word), iscii) || !icu.ToUtf8(iscii, expected)) continue;
        if (ReadDifferently(iscii)) {
            different++;
            continue;
        }
        compared++;
        if (Ours(iscii) == expected) agreed++;
        else ADD_FAILURE() << word;
        if (::testing::Test::HasFailure() && compared - agreed > 10) break;
    }
    std::printf("%d words in ISCII: %d agree with ICU, %d read differently on purpose\n", compared, agreed,
                different);
    EXPECT_GE(compared, 10);
    EXPECT_EQ(agreed, compared);
}

}  // namespace
