// The ISCII side of the Unicode bridge against ICU's ISCII converter for Kannada, on every
// single code, on the sequences ICU gives a meaning, and on real words.
#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "convert/unicode.h"

namespace {

UConverter *Open(const char *name) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter *c = ucnv_open(name, &status);
    ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    ucnv_setFromUCallBack(c, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    return U_SUCCESS(status) ? c : nullptr;
}

// ICU's conversion between UTF-8 and ISCII; false on any error (a code it does not define).
bool Icu(bool toUtf8, const std::string &in, std::string &out) {
    static UConverter *utf8 = Open("UTF-8"), *iscii = Open("ISCII,version=7");
    if (!utf8 || !iscii) return false;
    out.assign(4 * in.size() + 8, '\0');
    char *target = &out[0];
    const char *source = in.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_convertEx(toUtf8 ? utf8 : iscii, toUtf8 ? iscii : utf8, &target, target + out.size(), &source,
                   source + in.size(), nullptr, nullptr, nullptr, nullptr, true, true, &status);
    out.resize(static_cast<size_t>(target - out.data()));
    return U_SUCCESS(status);
}

std::string Ours(const std::string &iscii) {
    std::string out(kUnicodePerIscii * iscii.size() + 1, '\0');
    out.resize(IsciiToUnicode(reinterpret_cast<const uint8_t *>(iscii.data()), iscii.size(),
                              reinterpret_cast<uint8_t *>(&out[0])));
    return out;
}

std::string Bytes(std::initializer_list<int> codes) {
    std::string s;
    for (int c : codes) s.push_back(static_cast<char>(c));
    return s;
}

TEST(IsciiAgainstIcu, EverySingleCodeIcuDefinesAndSequencesItGivesAMeaning) {
    int defined = 0;
    std::string expected;
    for (int c = 1; c < 256; c++) {
        std::string code(1, static_cast<char>(c));
        if (!Icu(true, code, expected) || expected.empty()) continue;
        defined++;
        EXPECT_EQ(Ours(code), expected) << "ISCII " << c;
    }
    EXPECT_GE(defined, 127 + 70);
    for (const std::string &iscii :
         {Bytes({179, 232, 232, 179}), Bytes({179, 232, 233, 179}), Bytes({166, 233}), Bytes({167, 233}),
          Bytes({170, 233}), Bytes({179, 223, 233}), Bytes({217, 179}), Bytes({179, 232, 180, 219, 162}),
          Bytes({186, 232, 188, 218, 32, 49})}) {
        ASSERT_TRUE(Icu(true, iscii, expected));
        EXPECT_EQ(Ours(iscii), expected);
    }
}

// What this system's ISCII means differently from ICU's reading, on purpose: RA + halant
// + consonant is RA with the subscript (the repha is 208), and a halant shown at the end of a
// word needs no joiner after it.
bool ReadDifferently(const std::string &iscii) {
    for (size_t i = 0; i + 1 < iscii.size(); i++) {
        uint8_t c = static_cast<uint8_t>(iscii[i]), d = static_cast<uint8_t>(iscii[i + 1]);
        uint8_t after = i + 2 < iscii.size() ? static_cast<uint8_t>(iscii[i + 2]) : 0;
        if ((c == 207 && d == 232) || (c == 232 && d == 232 && !(after >= 179 && after <= 216))) return true;
    }
    return false;
}

TEST(IsciiAgainstIcu, RealWords) {
    std::vector<std::string> words = {"ಕನ್ನಡ", "ಬೆಂಗಳೂರು", "ವಿದ್ಯಾರ್ಥಿ", "ಸ್ತ್ರೀ", "ಕ್ಷಮಿಸಿ", "ಜ್ಞಾನ", "ಮೈಸೂರು", "ಗೌರವ", "ಋಷಿ", "ಔಷಧ"};
    if (FILE *pipe = popen("aspell -d kn dump master 2>/dev/null", "r")) {
        for (char line[1024]; std::fgets(line, sizeof line, pipe);) words.emplace_back(line, std::strcspn(line, "\r\n"));
        pclose(pipe);
    }
    int compared = 0, agreed = 0, different = 0;
    for (const std::string &word : words) {
        std::string iscii, expected;
        if (word.empty() || !Icu(false, word, iscii) || !Icu(true, iscii, expected)) continue;
        if (ReadDifferently(iscii)) {
            different++;
            continue;
        }
        compared++;
        if (Ours(iscii) == expected) agreed++;
        else ADD_FAILURE() << word;
        if (compared - agreed > 10) break;
    }
    std::printf("%d words in ISCII: %d agree with ICU, %d read differently on purpose\n", compared, agreed,
                different);
    EXPECT_GE(compared, 10);
    EXPECT_EQ(agreed, compared);
}

}  // namespace
