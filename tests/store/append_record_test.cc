// A whole entry appended by one operation: the same bytes as the field-by-field sequence,
// refusals that write nothing, and texts as the store will hold them.
#include <gtest/gtest.h>

#include <filesystem>

#include "chain_scenarios.h"
#include "store/empty_library.h"
#include "store_test_support.h"

namespace {

class AppendRecord : public StoreTest {};

// A title whose 256th byte is the first byte of a two-byte character ("标").
std::string title_cut_inside_a_character() {
  return std::string(255, 't') + "\xB1\xEA" + "tail";
}

struct Start {
  const char* name;
  void (*make)(const std::string& lib);
};

const Start kStarts[] = {
    {"new library", [](const std::string&) {}},
    {"library with a free chain", [](const std::string& lib) { make_scenario_library(lib); }},
};

struct Entry {
  const char* name;
  std::vector<FieldAssignment> fields;
};

std::vector<Entry> entries() {
  std::string big(1100, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  return {
      {"all seven fields",
       {{kFieldTitle, "title"},
        {kFieldCategory, "\xCF\xB5\xCD\xB3\xB9\xA4\xBE\xDF"},
        {kFieldSize, "50.00 KB"},
        {kFieldRating, "\xA1\xEF\xA1\xEF"},
        {kFieldUpdateTime, "2024-05-01 12:00:00"},
        {kFieldAddress, "C:\\sources\\x.e"},
        {kFieldAttachment, ByteSet(big)}}},
      {"long title, empty attachment",
       {{kFieldTitle, title_cut_inside_a_character()}, {kFieldAttachment, ByteSet()}}},
      {"fields given twice",
       {{kFieldAttachment, ByteSet(big)},
        {kFieldTitle, "first"},
        {kFieldAttachment, ByteSet(std::string(600, 'q'))},
        {kFieldTitle, "second"}}},
      {"no fields", {}},
  };
}

void append_field_by_field(const std::vector<FieldAssignment>& fields) {
  ASSERT_TRUE(append_blank_record());
  for (const FieldAssignment& f : fields) {
    if (f.value.kind() == FieldValue::Kind::kBytes) {
      ASSERT_TRUE(write_field(f.name, f.value.bytes()));
    } else {
      ASSERT_TRUE(write_field(f.name, f.value.text()));
    }
  }
}

TEST_F(AppendRecord, LeavesTheBytesOfTheFieldByFieldSequence) {
  for (const Start& start : kStarts) {
    for (const Entry& entry : entries()) {
      const std::string where = std::string(start.name) + ", " + entry.name;
      const std::string base = new_library("base.edb");
      start.make(base);
      copy_library(base, path("a.edb"));
      copy_library(base, path("b.edb"));
      ASSERT_TRUE(store_open(path("a.edb")));
      append_field_by_field(entry.fields);
      const int number_a = record_number();
      store_close();
      ASSERT_TRUE(store_open(path("b.edb")));
      Status appended = append_record(entry.fields);
      EXPECT_TRUE(appended.is_ok()) << where << ": " << appended.text();
      EXPECT_EQ(record_number(), number_a) << where;
      store_close();
      EXPECT_EQ(read_file(path("a.edb")), read_file(path("b.edb"))) << where;
      EXPECT_EQ(read_file(path("a.EDT")), read_file(path("b.EDT"))) << where;
      std::filesystem::remove(base);
      std::filesystem::remove(path("base.EDT"));
    }
  }
}

TEST_F(AppendRecord, RecordsLargerThanOneWriteLeaveTheSameBytes) {
  // A record of 70,000 bytes is not put together in memory but written field by field.
  const std::vector<TestField> fields = {
      {"t", 10, 4, 69000}, {"d", 11, 69004, 0}, {"n", 12, 69008, 0}};
  for (const char* name : {"a.edb", "b.edb"}) {
    write_file(path(name), store_file_bytes(fields, 70000));
    write_file(companion_of(path(name)), companion_bytes());
  }
  const std::vector<FieldAssignment> entry = {{"t", std::string(70000, 'x')},
                                              {"d", ByteSet(std::string(800, 'd'))},
                                              {"n", std::string(1500, 'n')},
                                              {"t", "short"}};
  ASSERT_TRUE(store_open(path("a.edb")));
  append_field_by_field(entry);
  store_close();
  ASSERT_TRUE(store_open(path("b.edb")));
  ASSERT_TRUE(append_record(entry).is_ok());
  EXPECT_EQ(read_field("t").text(), "short");
  EXPECT_EQ(read_field("n").text(), std::string(1500, 'n'));
  store_close();
  EXPECT_EQ(read_file(path("a.edb")), read_file(path("b.edb")));
  EXPECT_EQ(read_file(path("a.EDT")), read_file(path("b.EDT")));
}

TEST_F(AppendRecord, RefusedBeforeAnythingIsWritten) {
  struct Case {
    const char* name;
    std::vector<FieldAssignment> fields;
    Status::Code code;
  };
  const Case cases[] = {
      {"unknown field", {{kFieldTitle, "t"}, {"nope", "x"}}, Status::Code::kNotFound},
      {"byte set for a text", {{kFieldTitle, ByteSet("t", 1)}}, Status::Code::kInvalid},
      {"text for a byte set",
       {{kFieldTitle, "t"}, {kFieldAttachment, "x"}},
       Status::Code::kInvalid},
  };
  const std::string lib = new_library();
  ASSERT_TRUE(store_open(lib));
  append_titled("t", 1, 2);
  go_first();
  const std::string store_bytes = read_file(lib), companion = read_file(companion_of(lib));
  for (const Case& c : cases) {
    EXPECT_EQ(append_record(c.fields).code(), c.code) << c.name;
    EXPECT_EQ(read_file(lib), store_bytes) << c.name;
    EXPECT_EQ(read_file(companion_of(lib)), companion) << c.name;
    EXPECT_EQ(record_number(), 1) << c.name;
  }
  store_close();
  EXPECT_EQ(append_record({{kFieldTitle, "t"}}).code(), Status::Code::kInvalid);  // no store
}

TEST_F(AppendRecord, StoredTextIsWhatReadingGivesBack) {
  write_file(
      path("m.edb"),
      store_file_bytes(
          {{"fixed", 10, 4, 10}, {"long", 12, 14, 0}, {"data", 11, 18, 0}, {"count", 3, 22, 0}},
          26));
  write_file(path("m.EDT"), companion_bytes());
  ASSERT_TRUE(store_open(path("m.edb")));
  ASSERT_TRUE(append_blank_record());
  struct Case {
    const char* field;
    std::string text;
    std::string stored;
  };
  const Case cases[] = {
      {"fixed", "short", "short"},
      {"fixed", "0123456789", "0123456789"},
      {"fixed", "0123456789more", "0123456789"},
      // A two-byte character at the cut keeps its first byte only, as the store cuts.
      {"fixed", "012345678\xB1\xEA", "012345678\xB1"},
      {"fixed", "01234567\xB1\xEA", "01234567\xB1\xEA"},
      {"FIXED", std::string("ab\0cd", 5), "ab"},
      {"long", std::string(2000, 'l') + std::string(1, '\0') + "z", std::string(2000, 'l')},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(stored_text_of(c.field, c.text), c.stored) << c.field << " " << c.text;
    ASSERT_TRUE(write_field(c.field, c.text));
    EXPECT_EQ(read_field(c.field).text(), c.stored) << c.field << " " << c.text;
  }
  // Fields that hold no text, unknown fields: the text itself.
  EXPECT_EQ(stored_text_of("data", std::string(20, 'd')), std::string(20, 'd'));
  EXPECT_EQ(stored_text_of("count", "12"), "12");
  EXPECT_EQ(stored_text_of("nope", "0123456789more"), "0123456789more");
  store_close();
  EXPECT_EQ(stored_text_of("fixed", "0123456789more"), "0123456789more");

  // The entry library's title: 256 bytes.
  ASSERT_TRUE(store_open(new_library()));
  EXPECT_EQ(stored_text_of(kFieldTitle, title_cut_inside_a_character()),
            std::string(255, 't') + "\xB1");
}

}  // namespace
