// Our own forms: every .dfm in tests/data/forms converts into its .txt and back.
#include "core/formfile/FormFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace lingrove::formfile;

namespace {

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buf;
    buf << in.rdbuf();
    return std::move(buf).str();
}

std::vector<fs::path> corpus()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(LINGROVE_TEST_DATA) / "forms"))
        if (entry.path().extension() == ".dfm")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(Corpus, BinaryToTextToBinaryGivesTheSameBytes)
{
    const auto files = corpus();
    ASSERT_GE(files.size(), 20u);
    for (const fs::path& dfm : files) {
        SCOPED_TRACE(dfm.filename().string());
        const std::string binary = slurp(dfm);
        const std::string expectedText = slurp(fs::path(dfm).replace_extension(".txt"));
        std::string text;
        ASSERT_NO_THROW(ResourceToText(binary, text));
        EXPECT_EQ(text, expectedText);
        std::string back;
        ASSERT_NO_THROW(TextToResource(text, back));
        EXPECT_EQ(back, binary);
    }
}

TEST(Corpus, StreamsGiveTheSameResult)
{
    const fs::path dfm = fs::path(LINGROVE_TEST_DATA) / "forms" / "main.dfm";
    std::ifstream in(dfm, std::ios::binary);
    std::ostringstream text;
    ResourceToText(in, text);
    EXPECT_EQ(text.str(), slurp(fs::path(dfm).replace_extension(".txt")));
    std::istringstream textIn(text.str());
    std::ostringstream binary;
    TextToResource(textIn, binary);
    EXPECT_EQ(binary.str(), slurp(dfm));
}
