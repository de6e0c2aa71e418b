// Our reader against a corpus of hand-edited ini files (tests/data/ini_corpus):
// every key name of a file is asked in every section of that file, as a
// string and as a number. Under Windows the platform's own profile functions
// answer too and any difference fails; every build compares with their
// answers recorded in answers.tsv. After a change to the corpus, record them
// again under Wine:
//   LUMETRA_RECORD_INI_ANSWERS=1 ctest --preset windows -R ini_corpus_test
//
// Left out, since Wine's answer there is a slip of its own or not known to be
// Windows' answer (our reader keeps its rule):
// - a quoted value cut by a buffer too short for its closing quote: Wine
//   drops one more character;
// - a number longer than 29 characters: Wine parses the first 29 only;
// - a line without '=' named like a later key: Wine then hides that key;
// - a lone CR: Wine ends the line there;
// - "[a]b]": Wine names the section up to the last ']';
// - ";K=1": Wine has a key ";K" (the corpus asks for K only); keys before the
//   first header: Wine puts them in a section named ""; NUL bytes and
//   non-ASCII text: Wine passes them through code pages.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "settings/private_profile.h"
#include "tests/settings/support.h"
#include "tests/support/temp_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace lumetra {
namespace {

constexpr std::size_t kBufferSize = 1024;  // the size the settings read "TargetFile" with
constexpr char kAbsentText[] = "(absent)";
constexpr int kAbsentNumber = -77;

struct Query {
    std::string file;
    std::string section;
    std::string key;
};

struct Answer {
    std::string text;
    int number = 0;
    bool operator==(const Answer&) const = default;
};

// How GoogleTest shows an answer in a failure.
[[maybe_unused]] void PrintTo(const Answer& answer, std::ostream* out) {
    *out << '"' << answer.text << "\" and " << answer.number;
}

std::filesystem::path Corpus(const std::string& file = {}) {
    return std::filesystem::path(LUMETRA_TEST_DATA) / "ini_corpus" / file;
}

std::filesystem::path AnswersFile() {
    return Corpus("answers.tsv");
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(Corpus())) {
        if (entry.path().extension() == ".ini") names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

// Every section of the file crossed with every key name in it, those of
// commented-out keys included.
std::vector<Query> Queries(const std::string& file, const std::string& text) {
    static const std::regex kHeader(R"(^\s*\[\s*([^\]]*?)\s*\])");
    static const std::regex kKey(R"(^\s*[;#]?\s*([^=\[]+?)\s*=)");
    std::set<std::string> sections;
    std::set<std::string> keys;
    std::istringstream lines(text.starts_with("\xEF\xBB\xBF") ? text.substr(3) : text);
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, match, kHeader)) {
            sections.insert(match[1]);
        } else if (std::regex_search(line, match, kKey)) {
            keys.insert(match[1]);
        }
    }
    std::vector<Query> queries;
    for (const std::string& section : sections) {
        for (const std::string& key : keys) queries.push_back({file, section, key});
    }
    return queries;
}

Answer Ours(const std::string& path, const Query& q) {
    return {ReadProfileString(q.section, q.key, kAbsentText, kBufferSize, path),
            ReadProfileInt(q.section, q.key, kAbsentNumber, path)};
}

std::string Describe(const Query& q) {
    return q.file + " [" + q.section + "] " + q.key;
}

// By Describe() of their query.
std::map<std::string, Answer> RecordedAnswers() {
    std::istringstream rows(test::ReadAll(AnswersFile()));
    std::map<std::string, Answer> answers;
    for (std::string row; std::getline(rows, row);) {
        if (row.starts_with('#')) continue;
        std::istringstream fields(row);
        Query q;
        Answer a;
        std::getline(fields, q.file, '\t');
        std::getline(fields, q.section, '\t');
        std::getline(fields, q.key, '\t');
        std::getline(fields, a.text, '\t');
        fields >> a.number;
        answers[Describe(q)] = a;
    }
    return answers;
}

#ifdef _WIN32
Answer PlatformAnswer(const std::string& path, const Query& q) {
    std::array<char, kBufferSize> text{};
    const DWORD length = GetPrivateProfileStringA(q.section.c_str(), q.key.c_str(), kAbsentText, text.data(),
                                                  static_cast<DWORD>(text.size()), path.c_str());
    const UINT number = GetPrivateProfileIntA(q.section.c_str(), q.key.c_str(), kAbsentNumber, path.c_str());
    return {std::string(text.data(), length), static_cast<int>(number)};
}

// Copies of the files in a folder of their own, asked by full path.
TEST(IniCorpus, ReadsAsThePlatformsOwnFunctions) {
    const bool record = std::getenv("LUMETRA_RECORD_INI_ANSWERS") != nullptr;
    std::string table = "# Written by ini_corpus_test under Wine: file, section, key, string, number.\n";
    const test::CTempFolder folder;
    for (const std::string& file : CorpusFiles()) {
        const std::string bytes = test::ReadAll(Corpus(file));
        const std::string path = folder.Write(file, bytes);
        for (const Query& q : Queries(file, bytes)) {
            const Answer theirs = PlatformAnswer(path, q);
            EXPECT_EQ(Ours(path, q), theirs) << Describe(q);
            ASSERT_EQ(theirs.text.find_first_of("\t\r\n"), std::string::npos) << Describe(q);
            table += q.file + '\t' + q.section + '\t' + q.key + '\t' + theirs.text + '\t' +
                     std::to_string(theirs.number) + '\n';
        }
    }
    if (record) test::WriteAll(AnswersFile(), table);
}

// Values that a read would change unless written in quotes, and some that
// need none.
TEST(IniWrites, WrittenValuesReadBackThroughThePlatform) {
    constexpr std::array<std::string_view, 9> kValues = {" padded ", "\"quoted\"", "'single'", "\t\"mixed' ",   "\"",
                                                         "''",       "a\"b",       "",         "C:\\x y\\t.txt"};
    const test::CTempFolder folder;
    for (std::size_t i = 0; i < kValues.size(); ++i) {
        // A file each: the platform may keep a file it has read in a cache.
        const std::string path = folder.File("written" + std::to_string(i) + ".ini");
        ASSERT_TRUE(WriteProfileValue("Lumetra", "Key", kValues[i], path));
        EXPECT_EQ(PlatformAnswer(path, {"", "Lumetra", "Key"}).text, kValues[i]);
    }
}
#endif

TEST(IniCorpus, ReadsAsThePlatformWasRecordedToRead) {
    const std::map<std::string, Answer> recorded = RecordedAnswers();
    std::size_t asked = 0;
    for (const std::string& file : CorpusFiles()) {
        const std::string path = Corpus(file).string();
        for (const Query& q : Queries(file, test::ReadAll(Corpus(file)))) {
            ASSERT_TRUE(recorded.contains(Describe(q))) << Describe(q) << " is not in answers.tsv: record it";
            EXPECT_EQ(Ours(path, q), recorded.at(Describe(q))) << Describe(q);
            ++asked;
        }
    }
    EXPECT_EQ(asked, recorded.size()) << "answers.tsv answers questions no longer asked: record it again";
}

}  // namespace
}  // namespace lumetra
