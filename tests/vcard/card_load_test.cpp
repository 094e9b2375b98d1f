// Reading a file as the viewer does: the size limit at its edges, a file whose
// later bytes change how the whole is read, and a file that others change,
// move or delete while it is read.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/temp_file.h"
#include "text/file_text.h"
#include "vcard/card_load.h"
#include "vcard/card_parser.h"

namespace kontaktel {
namespace {

using test::TempFile;

std::string Cards(int count, const std::string& prefix = "Contact") {
  std::string bytes;
  for (int i = 0; i < count; ++i) {
    bytes += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + prefix + " " + std::to_string(i) +
             "\r\nTEL;TYPE=CELL:+1 555 01" + std::to_string(i % 100) + "\r\nEND:VCARD\r\n";
  }
  return bytes;
}

struct Loaded {
  CardSet cards;
  int batches = 0;
  bool replaced = false;
};

Loaded LoadAll(CardLoad& load, size_t maxCards = 4096) {
  Loaded loaded;
  while (!load.Done()) {
    CardLoad::Batch batch = load.Step(maxCards);
    if (batch.replaces) {
      loaded.cards = CardSet{};
      loaded.replaced = true;
    }
    loaded.batches += batch.cards.empty() ? 0 : 1;
    loaded.cards.Append(std::move(batch.cards));
  }
  return loaded;
}

std::filesystem::path PathOf(const TempFile& file) {
  return std::filesystem::path(file.Path());
}

TEST(CardLoad, SizeLimitAtItsExactEdges) {
  const TempFile ten("BEGIN:VCAR");
  EXPECT_NE(CardLoad::Open(ten.Path().c_str(), 10), nullptr);
  EXPECT_EQ(CardLoad::Open(ten.Path().c_str(), 9), nullptr);
  const TempFile empty("");
  EXPECT_EQ(CardLoad::Open(empty.Path().c_str()), nullptr);
  EXPECT_EQ(CardLoad::Open(L"no-such-file.vcf"), nullptr);

  // The real limit, on files that hold nothing but their size: opening reads
  // only the start, so the largest file is taken without reading it.
  const TempFile largest("BEGIN:VCARD\r\n");
  std::filesystem::resize_file(PathOf(largest), kMaxFileSize);
  std::unique_ptr<CardLoad> load = CardLoad::Open(largest.Path().c_str());
  ASSERT_NE(load, nullptr);
  EXPECT_EQ(load->FileSize(), kMaxFileSize);
  EXPECT_EQ(load->BytesRead(), 64u * 1024);
  load.reset();
  std::filesystem::resize_file(PathOf(largest), kMaxFileSize + 1);
  EXPECT_EQ(CardLoad::Open(largest.Path().c_str()), nullptr);
}

TEST(CardLoad, BatchesOfAFileAreTheCardsOfTheWhole) {
  const std::string bytes = Cards(2000);
  const TempFile file(bytes);
  std::unique_ptr<CardLoad> load = CardLoad::Open(file.Path().c_str(), kMaxFileSize, 4096);
  ASSERT_NE(load, nullptr);
  // The first step hands over the first cards as soon as it has them.
  CardLoad::Batch first = load->Step(500);
  EXPECT_FALSE(first.cards.empty());
  EXPECT_LT(first.cards.size(), 100u);
  EXPECT_EQ(first.cards.front().fullName(), L"Contact 0");
  const Card kept = first.cards.front();
  Loaded rest = LoadAll(*load, 500);
  EXPECT_FALSE(rest.replaced);
  EXPECT_GE(rest.batches, 3);
  CardSet cards = std::move(first.cards);
  cards.Append(std::move(rest.cards));
  ASSERT_EQ(cards.size(), 2000u);
  // Appending never moves the cards handed over before.
  EXPECT_EQ(kept.fullName(), L"Contact 0");
  EXPECT_EQ(cards[1999].fullName(), L"Contact 1999");
  EXPECT_EQ(load->BytesRead(), bytes.size());
  // A strict UTF-8 file is not kept: each card's bytes are its text again.
  const FileBytes source = load->TakeBytes();
  EXPECT_TRUE(source.textIsUtf8);
  EXPECT_TRUE(source.bytes.empty());
  const size_t seventh = bytes.find("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Contact 7\r");
  EXPECT_EQ(cards[7].sourceBytes(source), bytes.substr(seventh, cards[7].sourceText().size()));
}

TEST(CardLoad, LaterBytesThatAreNotUtf8ReadTheWholeFileAgain) {
  // The first cards (past the start that decides how to begin) are ASCII; a
  // later one is a single-byte page, which makes the whole file one: every
  // card is read again, in the page the whole file is read in.
  const std::string bytes = Cards(1500) + "BEGIN:VCARD\r\nFN:Ren\xE9\r\nEND:VCARD\r\n";
  std::unique_ptr<CardLoad> load = CardLoad::OpenBytes(bytes, 512);
  ASSERT_NE(load, nullptr);
  Loaded loaded = LoadAll(*load, 50);
  EXPECT_TRUE(loaded.replaced);
  const FileText whole = DecodeFileTextAndCodePage(bytes);
  const CardSet expected = ParseCards(whole.text, whole.codePage);
  ASSERT_EQ(loaded.cards.size(), 1501u);
  EXPECT_NE(whole.codePage, 65001u);
  EXPECT_EQ(loaded.cards[1500].fullName(), expected[1500].fullName());
  const FileBytes kept = load->TakeBytes();
  EXPECT_EQ(kept.codePage, whole.codePage);
  EXPECT_EQ(kept.bytes, bytes);
  EXPECT_EQ(loaded.cards[1500].sourceBytes(kept), "BEGIN:VCARD\r\nFN:Ren\xE9\r\nEND:VCARD\r\n");
}

TEST(CardLoad, AFileReadWholeComesInBatchesThatShareItsText) {
  // UTF-16 is read whole; its cards still come a few at a time, and a card's
  // own bytes are found in the bytes kept.
  const std::string ascii = Cards(50);
  std::string bytes = "\xFF\xFE";
  for (const char c : ascii) bytes += {c, '\0'};
  std::unique_ptr<CardLoad> load = CardLoad::OpenBytes(bytes, 4096);
  ASSERT_NE(load, nullptr);
  Loaded loaded = LoadAll(*load, 10);
  EXPECT_FALSE(loaded.replaced);
  EXPECT_EQ(loaded.batches, 5);
  ASSERT_EQ(loaded.cards.size(), 50u);
  EXPECT_EQ(loaded.cards.BatchCount(), 5u);
  EXPECT_EQ(loaded.cards[37].fullName(), L"Contact 37");
  const FileBytes kept = load->TakeBytes();
  EXPECT_EQ(kept.codePage, 1200u);
  const size_t begin = ascii.find("FN:Contact 37\r") - 26;  // after the BEGIN and VERSION lines
  const size_t end = ascii.find("END:VCARD\r\n", begin) + 11;
  std::string expected;
  for (const char c : ascii.substr(begin, end - begin)) expected += {c, '\0'};
  EXPECT_EQ(loaded.cards[37].sourceBytes(kept), expected);
}

TEST(CardLoad, AFileChangedMovedOrDeletedWhileReadGivesTheCardsRead) {
  const std::string bytes = Cards(4000);  // about 280 KB
  const TempFile file(bytes);
  std::unique_ptr<CardLoad> load = CardLoad::Open(file.Path().c_str(), kMaxFileSize, 1024);
  ASSERT_NE(load, nullptr);
  Loaded loaded;
  loaded.cards.Append(load->Step(10).cards);
  // Others may cut the file short, rename it and delete it while it is open.
  std::filesystem::resize_file(PathOf(file), bytes.size() / 2);
  const std::filesystem::path moved = PathOf(file).wstring() + L".moved";
  std::error_code error;
  std::filesystem::rename(PathOf(file), moved, error);
  EXPECT_FALSE(error) << error.message();
  Loaded rest = LoadAll(*load);
  loaded.cards.Append(std::move(rest.cards));
  EXPECT_FALSE(load->Failed());
  EXPECT_GT(loaded.cards.size(), 900u);  // the start read before the cut
  EXPECT_LE(loaded.cards.size(), 2100u);  // half the file
  EXPECT_TRUE(loaded.cards.SpansInside());
  EXPECT_TRUE(std::filesystem::remove(moved, error)) << error.message();
}

}  // namespace
}  // namespace kontaktel
