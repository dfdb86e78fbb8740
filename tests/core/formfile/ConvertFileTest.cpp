// convertFormFile: whole files through a temporary file and a rename.
#include "core/formfile/FormFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace lingrove::formfile;

namespace {

class ConvertFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path()
               / ("lingrove-formfile-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-"
                  + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void put(const std::string& name, const std::string& data) const
    {
        std::ofstream(path(name), std::ios::binary) << data;
    }
    std::string get(const std::string& name) const
    {
        std::ostringstream buf;
        buf << std::ifstream(path(name), std::ios::binary).rdbuf();
        return std::move(buf).str();
    }
    bool convert(const std::string& from, const std::string& to, Direction d, std::string* why = nullptr) const
    {
        return convertFormFile(path(from), path(to), d, why);
    }
    std::size_t fileCount() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
};

const std::string kText = "object Form1: TForm1\r\n  Caption = 'Sch\xF6n'\r\nend\r\n";

} // namespace

TEST_F(ConvertFile, BothDirectionsAndBackInPlaceToo)
{
    put("unit1.txt", kText);
    std::string why;
    ASSERT_TRUE(convert("unit1.txt", "unit1.dfm", Direction::TextToBinary, &why)) << why;
    ASSERT_TRUE(convert("unit1.dfm", "copy.txt", Direction::BinaryToText, &why)) << why;
    EXPECT_EQ(get("copy.txt"), kText);
    EXPECT_EQ(fileCount(), 3u); // no temporary file left over

    // Source and destination may be the same file.
    ASSERT_TRUE(convert("copy.txt", "copy.txt", Direction::TextToBinary));
    ASSERT_TRUE(convert("copy.txt", "copy.txt", Direction::BinaryToText));
    EXPECT_EQ(get("copy.txt"), kText);
}

TEST_F(ConvertFile, FailureKeepsThePreviousDestination)
{
    put("unit1.txt", kText);
    ASSERT_TRUE(convert("unit1.txt", "unit1.dfm", Direction::TextToBinary));
    const std::string good = get("unit1.dfm");

    // The user broke the text: the old form file stays as it was.
    put("unit1.txt", "object Form1: TForm1\r\n  Caption = 'Sch\xF6n\r\nend\r\n");
    std::string why;
    EXPECT_FALSE(convert("unit1.txt", "unit1.dfm", Direction::TextToBinary, &why));
    EXPECT_EQ(get("unit1.dfm"), good);
    EXPECT_NE(why.find("unit1.txt: line 2, column 13: invalid string constant"), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos);
    EXPECT_EQ(fileCount(), 2u);

    // A missing source, and a destination folder that does not exist.
    EXPECT_FALSE(convert("missing.dfm", "unit1.txt", Direction::BinaryToText, &why));
    EXPECT_NE(why.find("missing.dfm"), std::string::npos) << why;
    EXPECT_FALSE(convert("unit1.dfm", "no/such/dir.txt", Direction::BinaryToText, &why));

    // Converting a text file as if it were binary fails without touching the destination.
    put("other.txt", "keep me");
    EXPECT_FALSE(convert("unit1.txt", "other.txt", Direction::BinaryToText, &why));
    EXPECT_EQ(get("other.txt"), "keep me");
    EXPECT_NE(why.find("invalid stream format"), std::string::npos) << why;
}
