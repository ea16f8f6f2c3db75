#include "model/TextFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <vector>

#include "model/Errors.h"
#include "tests/support/TempFolder.h"

namespace tarvelin {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

int fileErrorCodeOf(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const FileError& e) {
    return e.code();
  }
  return 0;
}

struct ReadCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;  // every line read before the end of the file
};

std::ostream& operator<<(std::ostream& os, const ReadCase& c) {
  return os << c.name;
}

class ReadLinesTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadLinesTest, LinesThenEndOfFileThenEmptyTexts) {
  TempFolder folder;
  writeBytes("in.txt", GetParam().bytes);
  TextFile file("in.txt");
  file.openRead();
  std::vector<std::string> lines;
  while (!file.eof()) lines.push_back(file.readLine());
  EXPECT_EQ(lines, GetParam().lines);
  EXPECT_EQ(file.readLine(), "");
  EXPECT_EQ(file.readLine(), "");
  EXPECT_TRUE(file.eof());
  file.close();
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadLinesTest,
    ::testing::Values(ReadCase{"CrLf", "a\r\nb", {"a", "b"}},
                      ReadCase{"LfWithFinalLineEnd", "a\nb\n", {"a", "b"}},
                      ReadCase{"LoneCrIsDropped", "a\rb\n", {"ab"}}, ReadCase{"Empty", "", {}},
                      ReadCase{"CtrlZAfterLastLine", "a\r\n\x1a", {"a"}},
                      ReadCase{"CtrlZInsideALine",
                               std::string("ab\x1a"
                                           "cd\nef\n"),
                               {"ab"}},
                      ReadCase{"EmptyLinesKept", "\n\nx\n\n", {"", "", "x", ""}},
                      ReadCase{"CrCrLf", "a\r\r\nb", {"a", "b"}},
                      ReadCase{"BlanksKept", "  5  \r\n", {"  5  "}},
                      ReadCase{"EightBitBytesUnchanged", "\xe9\xff\x01\n", {"\xe9\xff\x01"}},
                      ReadCase{"LineLongerThanTheBuffer",
                               std::string(1000, 'x') + "\r\ny",
                               {std::string(1000, 'x'), "y"}},
                      ReadCase{"CrLfSplitAcrossBuffers",
                               std::string(127, 'x') + "\r\ny",
                               {std::string(127, 'x'), "y"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextFile, ReopeningStartsAgainAtTheFirstLine) {
  TempFolder folder;
  writeBytes("in.txt", "one\ntwo\n");
  TextFile file("in.txt");
  file.openRead();
  EXPECT_EQ(file.readLine(), "one");
  file.openRead();
  EXPECT_EQ(file.readLine(), "one");
  EXPECT_EQ(file.readLine(), "two");
}

TEST(TextFile, WritesThroughTheBufferWithCrLfLineEnds) {
  TempFolder folder;
  TextFile file("out.txt");
  file.createWrite();
  file.write("x");
  file.writeLineEnd();
  file.writeInteger(-42);
  file.write("   ");
  file.writeValue(1.5L);
  const std::string longText(300, 'y');
  file.write(longText);
  file.close();
  EXPECT_EQ(readBytes("out.txt"), "x\r\n-42    1.50000000000000E+0000" + longText);
}

TEST(TextFile, BytesStayInTheBufferUntilItFillsOrCloses) {
  TempFolder folder;
  TextFile file("out.txt");
  file.createWrite();
  file.write(std::string(127, 'a'));
  EXPECT_EQ(readBytes("out.txt").size(), 0u);
  file.write("b");
  EXPECT_EQ(readBytes("out.txt").size(), 128u);
  file.write("c");
  file.close();
  EXPECT_EQ(readBytes("out.txt").size(), 129u);
}

TEST(TextFile, CreateEmptiesAnExistingFile) {
  TempFolder folder;
  writeBytes("out.txt", "old contents that are longer");
  TextFile file("out.txt");
  file.createWrite();
  file.write("new");
  file.close();
  EXPECT_EQ(readBytes("out.txt"), "new");
}

TEST(TextFile, OpenFailuresCarryTheirCodeAndLeaveTheHandleClosed) {
  TempFolder folder;
  std::filesystem::create_directory("folder");
  TextFile file;
  const struct {
    const char* name;
    bool forWriting;
    int code;
  } cases[] = {
      {"missing.txt", false, 2},
      {"no-such-folder/missing.txt", false, 3},
      {"no-such-folder/out.txt", true, 3},
      {"folder", false, 5},
      {"folder", true, 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    file.assign(c.name);
    EXPECT_EQ(fileErrorCodeOf([&] { c.forWriting ? file.createWrite() : file.openRead(); }),
              c.code);
    EXPECT_FALSE(file.isOpen());
  }
  file.assign(std::string(TextFile::kMaxNameLength + 1, 'n'));
  EXPECT_EQ(fileErrorCodeOf([&] { file.openRead(); }), 3);
}

TEST(TextFile, AFailedOpenClosesTheFileThatWasOpen) {
  TempFolder folder;
  writeBytes("a.txt", "a\n");
  TextFile file("a.txt");
  file.openRead();
  file.assign("missing.txt");
  EXPECT_EQ(fileErrorCodeOf([&] { file.openRead(); }), 2);
  EXPECT_FALSE(file.isOpen());
}

// A file open for reading cannot be created over, and one open for writing cannot be read:
// otherwise a data file that is also the output would be emptied while it is read.
TEST(TextFile, SharingConflictsAreIoError32AndDestroyNothing) {
  TempFolder folder;
  writeBytes("data.txt", "1\n2\n");
  TextFile reader("data.txt");
  reader.openRead();
  TextFile writer("data.txt");
  EXPECT_EQ(fileErrorCodeOf([&] { writer.createWrite(); }), 32);
  EXPECT_FALSE(writer.isOpen());
  EXPECT_EQ(reader.readLine(), "1");
  EXPECT_EQ(readBytes("data.txt"), "1\n2\n");

  TextFile secondReader("data.txt");
  secondReader.openRead();  // readers share
  reader.close();
  secondReader.close();

  writer.createWrite();
  EXPECT_EQ(fileErrorCodeOf([&] { reader.openRead(); }), 32);
  writer.close();
  reader.openRead();
  EXPECT_TRUE(reader.eof());
}

TEST(TextFile, AFullDiskFailsTheWriteAndTheBufferIsDiscarded) {
  TextFile file("/dev/full");
  file.createWrite();
  file.write(std::string(127, 'a'));
  EXPECT_EQ(fileErrorCodeOf([&] { file.write("b"); }), 28);  // ENOSPC
  EXPECT_TRUE(file.isOpen());
  file.write("c");
  EXPECT_EQ(fileErrorCodeOf([&] { file.close(); }), 28);
  EXPECT_TRUE(file.isOpen());
  file.close();  // nothing left to write
  EXPECT_FALSE(file.isOpen());
}

TEST(TextFile, OperationsOnAClosedHandleAreRefused) {
  TextFile file("x.txt");
  EXPECT_EQ(fileErrorCodeOf([&] { file.readLine(); }), 103);
  EXPECT_EQ(fileErrorCodeOf([&] { file.write("x"); }), 103);
  EXPECT_EQ(fileErrorCodeOf([&] { file.close(); }), 103);
}

}  // namespace
}  // namespace tarvelin
