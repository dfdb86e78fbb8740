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

    static void put(const std::string& file, const std::string& data)
    {
        std::ofstream(file, std::ios::binary) << data;
    }
    static std::string get(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream buf;
        buf << in.rdbuf();
        return std::move(buf).str();
    }
    std::size_t fileCount() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
    }

    fs::path dir_;
};

const std::string kText = "object Form1: TForm1\r\n  Caption = 'Sch\xF6n'\r\nend\r\n";

} // namespace

TEST_F(ConvertFile, BothDirectionsAndBack)
{
    put(path("unit1.txt"), kText);
    std::string why;
    ASSERT_TRUE(convertFormFile(path("unit1.txt"), path("unit1.dfm"), Direction::TextToBinary, &why)) << why;
    ASSERT_TRUE(convertFormFile(path("unit1.dfm"), path("copy.txt"), Direction::BinaryToText, &why)) << why;
    EXPECT_EQ(get(path("copy.txt")), kText);
    EXPECT_EQ(fileCount(), 3u); // no temporary file left over
}

TEST_F(ConvertFile, FailureKeepsThePreviousDestination)
{
    put(path("unit1.txt"), kText);
    ASSERT_TRUE(convertFormFile(path("unit1.txt"), path("unit1.dfm"), Direction::TextToBinary));
    const std::string good = get(path("unit1.dfm"));

    // The user broke the text: the old form file stays as it was.
    put(path("unit1.txt"), "object Form1: TForm1\r\n  Caption = 'Sch\xF6n\r\nend\r\n");
    std::string why;
    EXPECT_FALSE(convertFormFile(path("unit1.txt"), path("unit1.dfm"), Direction::TextToBinary, &why));
    EXPECT_EQ(get(path("unit1.dfm")), good);
    EXPECT_NE(why.find("unit1.txt: line 2, column 13: invalid string constant"), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos);
    EXPECT_EQ(fileCount(), 2u);

    // A missing source, and a destination folder that does not exist.
    EXPECT_FALSE(convertFormFile(path("missing.dfm"), path("unit1.txt"), Direction::BinaryToText, &why));
    EXPECT_NE(why.find("missing.dfm"), std::string::npos) << why;
    EXPECT_FALSE(convertFormFile(path("unit1.dfm"), path("no/such/dir.txt"), Direction::BinaryToText, &why));
    EXPECT_EQ(get(path("unit1.dfm")), good);

    // Converting a text file as if it were binary fails without touching the destination.
    put(path("other.txt"), "keep me");
    EXPECT_FALSE(convertFormFile(path("unit1.txt"), path("other.txt"), Direction::BinaryToText, &why));
    EXPECT_EQ(get(path("other.txt")), "keep me");
    EXPECT_NE(why.find("invalid stream format"), std::string::npos) << why;
}

TEST_F(ConvertFile, SourceAndDestinationMayBeTheSameFile)
{
    put(path("form.dat"), kText);
    ASSERT_TRUE(convertFormFile(path("form.dat"), path("form.dat"), Direction::TextToBinary));
    ASSERT_TRUE(convertFormFile(path("form.dat"), path("form.dat"), Direction::BinaryToText));
    EXPECT_EQ(get(path("form.dat")), kText);
}
