// CIniFile against the platform's own private-profile functions: files written
// by one are read by the other, and a whole store is compared byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "../../unit/settings/test_support.h"
#include "ini_file.h"
#include "platform_store.h"
#include "profile_store.h"

namespace {

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
std::u16string U(const std::wstring& s) { return std::u16string(s.begin(), s.end()); }

std::wstring PlatformString(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    std::vector<wchar_t> buffer(4096);
    const DWORD n = GetPrivateProfileStringW(section.c_str(), key.c_str(), L"DEF", buffer.data(), 4096, file.c_str());
    return std::wstring(buffer.data(), n);
}

class Random {
public:
    explicit Random(unsigned seed) : rng_(seed) {}
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(int percent) { return Int(0, 99) < percent; }
    std::wstring Text(const std::wstring& alphabet, int lo, int hi) {
        std::wstring s;
        const int n = Int(lo, hi);
        for (int i = 0; i < n; ++i) s += alphabet[Int(0, static_cast<int>(alphabet.size()) - 1)];
        return s;
    }
    std::mt19937& engine() { return rng_; }

private:
    std::mt19937 rng_;
};

const std::wstring kNameChars = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.";
const std::wstring kValueChars = L"abcXYZ019 _-.,:;=[]()\"'#$%&*+/\\|~";

// A value of the kinds the suite stores, plus the awkward ones.
std::wstring RandomValue(Random& r) {
    switch (r.Int(0, 6)) {
        case 0: return std::to_wstring(r.Int(-100000, 100000));
        case 1: return L"0x" + r.Text(L"0123456789abcdef", 1, 8);
        case 2: return r.Text(kValueChars, 0, 40);
        case 3: return L"\"" + r.Text(kValueChars, 0, 10) + L"\"";
        case 4: return L"  " + r.Text(kValueChars, 1, 10) + L"  ";
        case 5: return std::to_wstring(static_cast<long long>(r.Int(0, 2000000000)) * 7);
        default: return r.Text(L"0123456789ABCDEF", 2, 20);
    }
}

int g_file = 0;
std::wstring NewFile(const TempFolder& dir) {
    return (dir / ("f" + std::to_string(g_file++) + ".ini")).wstring();
}

}  // namespace

// The platform writes; CIniFile must read every value as the platform reads it.
TEST(IniCompat, ReadsWhatThePlatformWrites) {
    TempFolder dir;
    Random r(1);
    for (int round = 0; round < 40; ++round) {
        const std::wstring file = NewFile(dir);
        struct Key {
            std::wstring section, key;
            std::vector<unsigned char> structBytes;
        };
        std::vector<Key> keys;
        const int sections = r.Int(1, 5);
        for (int s = 0; s < sections; ++s) {
            const std::wstring section = r.Text(kNameChars, 1, 12);
            for (int k = r.Int(1, 12); k > 0; --k) {
                Key key{section, r.Text(kNameChars, 1, 12), {}};
                if (r.Chance(25)) {
                    key.structBytes.resize(static_cast<size_t>(r.Int(0, 40)));
                    for (auto& b : key.structBytes) b = static_cast<unsigned char>(r.Int(0, 255));
                    WritePrivateProfileStructW(section.c_str(), key.key.c_str(), key.structBytes.data(),
                                               static_cast<UINT>(key.structBytes.size()), file.c_str());
                } else {
                    WritePrivateProfileStringW(section.c_str(), key.key.c_str(), RandomValue(r).c_str(), file.c_str());
                }
                keys.push_back(key);
            }
        }
        const CIniFile ini{std::filesystem::path(file)};
        for (const Key& k : keys) {
            const std::u16string sec = U(k.section), key = U(k.key);
            ASSERT_EQ(W(ini.ReadString(sec, key, u"DEF")), PlatformString(file, k.section, k.key)) << round;
            ASSERT_EQ(ini.ReadInt(sec, key, -1),
                      static_cast<int32_t>(GetPrivateProfileIntW(k.section.c_str(), k.key.c_str(), -1, file.c_str())))
                << round;
            if (!k.structBytes.empty()) {
                std::vector<unsigned char> ours(k.structBytes.size()), theirs(k.structBytes.size());
                const bool okOurs = ini.ReadStruct(sec, key, ours.data(), ours.size());
                const bool okTheirs = GetPrivateProfileStructW(k.section.c_str(), k.key.c_str(), theirs.data(),
                                                               static_cast<UINT>(theirs.size()), file.c_str());
                ASSERT_EQ(okOurs, okTheirs);
                ASSERT_EQ(ours, k.structBytes);
            }
        }
    }
}

// CIniFile writes; the platform must read back exactly what was written,
// including texts that are not ASCII and values with blanks or quotes at the edges.
TEST(IniCompat, ThePlatformReadsWhatCIniFileWrites) {
    TempFolder dir;
    Random r(2);
    for (int round = 0; round < 40; ++round) {
        const std::wstring file = NewFile(dir);
        CIniFile ini{std::filesystem::path(file)};
        struct Expect {
            std::wstring section, key, value;
            std::vector<unsigned char> structBytes;
            int kind;  // 0 text, 1 int, 2 struct
            int number;
        };
        std::vector<Expect> written;
        const bool unicode = r.Chance(50);
        for (int s = r.Int(1, 5); s > 0; --s) {
            const std::wstring section = r.Text(kNameChars, 1, 12);
            for (int k = r.Int(1, 10); k > 0; --k) {
                Expect e{section, r.Text(kNameChars, 1, 12), L"", {}, r.Int(0, 2), 0};
                // The platform finds the first of two equal keys; so do we.
                bool duplicate = false;
                for (const auto& w : written)
                    duplicate |= CompareStringOrdinal(w.section.c_str(), -1, section.c_str(), -1, TRUE) == CSTR_EQUAL &&
                                 CompareStringOrdinal(w.key.c_str(), -1, e.key.c_str(), -1, TRUE) == CSTR_EQUAL;
                if (duplicate) continue;
                if (e.kind == 0) {
                    e.value = r.Text(kValueChars, 0, 30);
                    if (r.Chance(20)) e.value = L" " + e.value + L" ";
                    if (r.Chance(20)) e.value = L"'" + e.value + L"'";
                    if (unicode && r.Chance(50)) e.value += L"\u00e9\u5c04\u0416";
                    ini.WriteString(U(section), U(e.key), U(e.value));
                } else if (e.kind == 1) {
                    e.number = r.Int(INT32_MIN, INT32_MAX);
                    ini.WriteInt(U(section), U(e.key), e.number);
                } else {
                    e.structBytes.resize(static_cast<size_t>(r.Int(1, 1232)));
                    for (auto& b : e.structBytes) b = static_cast<unsigned char>(r.Int(0, 255));
                    ini.WriteStruct(U(section), U(e.key), e.structBytes.data(), e.structBytes.size());
                }
                written.push_back(e);
            }
        }
        ASSERT_TRUE(ini.Commit()) << ini.LastError();
        for (const Expect& e : written) {
            if (e.kind == 0) {
                ASSERT_EQ(PlatformString(file, e.section, e.key), e.value) << round;
            } else if (e.kind == 1) {
                ASSERT_EQ(static_cast<int32_t>(GetPrivateProfileIntW(e.section.c_str(), e.key.c_str(), 7, file.c_str())),
                          e.number);
            } else {
                std::vector<unsigned char> back(e.structBytes.size());
                ASSERT_TRUE(GetPrivateProfileStructW(e.section.c_str(), e.key.c_str(), back.data(),
                                                     static_cast<UINT>(back.size()), file.c_str()));
                ASSERT_EQ(back, e.structBytes);
            }
        }
    }
}

// Hand-made files with every line form: both readers must agree on every key.
TEST(IniCompat, AgreesWithThePlatformOnOddFiles) {
    TempFolder dir;
    Random r(3);
    const std::wstring sectionNames[] = {L"Alpha", L"alpha", L"Beta", L"Gamma Ray", L"Delta"};
    const std::wstring keyNames[] = {L"k", L"K", L"key two", L"num", L"q", L"x"};
    const char* endings[] = {"\r\n", "\n", "\r"};
    for (int round = 0; round < 150; ++round) {
        std::string text;
        for (int line = r.Int(1, 40); line > 0; --line) {
            std::wstring w;
            switch (r.Int(0, 9)) {
                case 0: w = L"[" + sectionNames[r.Int(0, 4)] + L"]"; break;
                case 1: w = L"  [" + sectionNames[r.Int(0, 4)] + (r.Chance(50) ? L"] trailing" : L" ]"); break;
                case 2: w = L"[" + sectionNames[r.Int(0, 4)]; break;  // no closing bracket
                case 3: w = keyNames[r.Int(0, 5)]; break;              // no '='
                case 4: w = L""; break;
                default:
                    w = (r.Chance(30) ? L"  " : L"") + keyNames[r.Int(0, 5)] + (r.Chance(30) ? L" = " : L"=") +
                        RandomValue(r);
                    break;
            }
            text += std::string(w.begin(), w.end());
            text += endings[r.Int(0, 2)];
        }
        const std::wstring file = NewFile(dir);
        WriteBytes(std::filesystem::path(file), text);
        std::string shown;  // the file with its line ends visible, for failure messages
        for (char c : text) shown += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n\n") : std::string(1, c);
        const CIniFile ini{std::filesystem::path(file)};
        for (const auto& section : sectionNames)
            for (const auto& key : keyNames) {
                ASSERT_EQ(W(ini.ReadString(U(section), U(key), u"DEF")), PlatformString(file, section, key))
                    << round << "\n" << shown;
                ASSERT_EQ(ini.ReadInt(U(section), U(key), -1),
                          static_cast<int32_t>(GetPrivateProfileIntW(section.c_str(), key.c_str(), -1, file.c_str())))
                    << round << "\n" << shown;
            }
    }
}


TEST(IniCompat, StoreFileIsByteForByteThePlatforms) {
    TempFolder dir;
    std::mt19937 rng(4);
    Random r(5);
    for (int round = 0; round < 3; ++round) {
        ProfileStore store;
        for (int i = 0; i < 1 + 2 * round; ++i) {
            auto p = std::make_unique<ProfileRecord>();
            FillRandomProfile(*p, rng);
            // Names the platform can store unchanged: ASCII without edge blanks or quotes.
            CopyToField(p->ProFileName, U(r.Text(kNameChars + L" ", 1, 20) + L"x"));
            CopyToField(p->GameFile, U(L"C:\\Games\\" + r.Text(kNameChars, 1, 30) + L".exe"));
            store.profiles.push_back(std::move(p));
        }
        store.values = StoreValues{0, round, 1, 0, -1, 1};
        const auto ours = dir / ("ours" + std::to_string(round) + ".data");
        const std::wstring theirs = (dir / ("theirs" + std::to_string(round) + ".data")).wstring();
        ASSERT_TRUE(SaveProfileStore(ours, store));
        WriteStoreKeyByKey(theirs, store);
        const std::string a = ReadBytes(ours), b = ReadBytes(std::filesystem::path(theirs));
        ASSERT_EQ(a.size(), b.size());
        EXPECT_TRUE(a == b);
        // And the platform reads every record of our file back as it was.
        ProfileStore back;
        ReadStoreKeyByKey(ours.wstring(), back);
        ASSERT_EQ(back.profiles.size(), store.profiles.size());
        for (size_t i = 0; i < back.profiles.size(); ++i) EXPECT_TRUE(SameRecord(*back.profiles[i], *store.profiles[i]));
    }
}
