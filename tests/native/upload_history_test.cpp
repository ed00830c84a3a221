#include "upload/core/upload_history.h"

#include <gtest/gtest.h>

#include <string>

#include "base/core/sha256.h"

namespace fernwick {
namespace {

Sha256Digest DigestOfText(std::string_view text) {
  return Sha256Of(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

std::string Hex(const Sha256Digest& digest) {
  std::string hex;
  for (uint8_t byte : digest) hex += "0123456789abcdef"[byte >> 4], hex += "0123456789abcdef"[byte & 0xF];
  return hex;
}

// FIPS 180-4's examples and a message that ends exactly where the padding needs a second block,
// in one piece and in uneven pieces, by the processor's SHA extensions (where it has them) and
// by the portable rounds.
TEST(Sha256Test, GivesTheStandardsDigests) {
  struct Case {
    std::string message;
    const char* digest;
  };
  const Case cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1'000'000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (bool extensions : {true, false}) {
    for (const Case& c : cases) {
      for (size_t pieceSize : {c.message.size() + 1, size_t{37}}) {
        Sha256 hash(extensions);
        for (size_t at = 0; at < c.message.size(); at += pieceSize) {
          const std::string_view piece = std::string_view(c.message).substr(at, pieceSize);
          hash.Add(std::span(reinterpret_cast<const uint8_t*>(piece.data()), piece.size()));
        }
        EXPECT_EQ(Hex(hash.Finish()), c.digest) << c.message.size() << " " << pieceSize << " " << extensions;
      }
    }
  }
}

const HistoryRecord kSent{"alice", DigestOfText("photo a"), 4711, 1765251600, "海边\t一"};
const HistoryRecord kMaybe{"alice", DigestOfText("photo b"), 0, 1765251700, "b"};
const HistoryRecord kOther{"bob\\n", DigestOfText("photo a"), 12, 1765251800, ""};

std::string FileOf(std::initializer_list<HistoryRecord> records) {
  std::string bytes(kHistoryHeading);
  for (const HistoryRecord& record : records) bytes += EncodeHistoryRecord(record);
  return bytes;
}

// The file written, then read back in pieces of every size, and with its end damaged: what is
// whole before the damage is found, nothing after it, and the sound length says where to cut.
struct LoadCase {
  const char* name;
  std::string bytes;
  size_t records;  // found afterwards, of kSent, kMaybe, kOther in that order
  size_t soundBytes;
  bool damaged;
};
class UploadHistoryLoadTest : public ::testing::TestWithParam<LoadCase> {};
TEST_P(UploadHistoryLoadTest, KeepsTheSoundRecords) {
  const LoadCase& c = GetParam();
  for (size_t pieceSize : {size_t{1}, size_t{7}, size_t{4096}}) {
    HistoryIndex index;
    HistoryReader reader(index);
    for (size_t at = 0; at < c.bytes.size(); at += pieceSize)
      reader.Feed(std::string_view(c.bytes).substr(at, pieceSize));
    EXPECT_EQ(reader.SoundBytes(), c.soundBytes) << c.name << pieceSize;
    EXPECT_EQ(reader.Damaged(), c.damaged) << c.name << pieceSize;
    EXPECT_EQ(index.size(), c.records) << c.name << pieceSize;
    const HistoryRecord* all[] = {&kSent, &kMaybe, &kOther};
    for (size_t i = 0; i < 3; ++i) {
      const HistoryEntry* found = index.Find(all[i]->account, all[i]->original);
      ASSERT_EQ(found != nullptr, i < c.records) << c.name << i;
      if (found) {
        EXPECT_EQ(found->photoId, all[i]->photoId) << c.name << i;
        EXPECT_EQ(found->time, all[i]->time) << c.name << i;
      }
    }
  }
}
const std::string kWhole = FileOf({kSent, kMaybe, kOther});
const size_t kTwo = FileOf({kSent, kMaybe}).size();
std::string Flipped(std::string bytes, size_t at) {
  bytes[at] ^= 0x01;
  return bytes;
}
INSTANTIATE_TEST_SUITE_P(
    Table, UploadHistoryLoadTest,
    ::testing::Values(LoadCase{"whole", kWhole, 3, kWhole.size(), false}, LoadCase{"empty", "", 0, 0, false},
                      LoadCase{"torn last record", kWhole.substr(0, kWhole.size() - 9), 2, kTwo, true},
                      LoadCase{"last record without its newline", kWhole.substr(0, kWhole.size() - 1), 2, kTwo, true},
                      LoadCase{"a byte of the last record changed", Flipped(kWhole, kWhole.size() - 3), 2, kTwo, true},
                      LoadCase{"zeros after the records", kWhole + std::string(70'000, '\0'), 3, kWhole.size(), true},
                      LoadCase{"a damaged record drops what follows", Flipped(kWhole, kTwo - 20), 1,
                               FileOf({kSent}).size(), true},
                      LoadCase{"torn heading", "fernwick upload hist", 0, 0, true},
                      LoadCase{"another version", "fernwick upload history 2\n", 0, 0, true}));

TEST(UploadHistoryTest, RecordsRoundTripAndTheConfirmedOneWins) {
  for (const HistoryRecord& record : {kSent, kMaybe, kOther}) {
    const std::string line = EncodeHistoryRecord(record);
    ASSERT_EQ(line.back(), '\n');
    EXPECT_EQ(DecodeHistoryRecord(std::string_view(line).substr(0, line.size() - 1)), record);
  }
  HistoryIndex index;
  index.Add(kSent);
  index.Add(HistoryRecord{"alice", kSent.original, 0, 1765300000, "again"});  // lost answer later
  index.Add(kMaybe);
  index.Add(HistoryRecord{"alice", kMaybe.original, 99, 1765300000, "again"});
  EXPECT_EQ(index.Find("alice", kSent.original)->photoId, 4711);
  EXPECT_EQ(index.Find("alice", kMaybe.original)->photoId, 99);
  EXPECT_EQ(index.Find("Alice", kSent.original), nullptr);
  index.Add(kOther);
  index.ForgetAccount("alice");
  EXPECT_EQ(index.Find("alice", kSent.original), nullptr);
  EXPECT_EQ(index.Find("bob\\n", kOther.original)->photoId, 12);
  EXPECT_EQ(HistoryWithoutAccount(kWhole + "torn", "alice"), FileOf({kOther}));
}

}  // namespace
}  // namespace fernwick
