// The bookkeeping of ShowSelectedCard for photos fetched from addresses: when
// a fetch starts, when the same card keeps its photo, and which answers count.
#include "photo/photo_fetch_state.h"

#include <gtest/gtest.h>

#include "photo/photo_cache.h"

namespace kontaktel {
namespace {

constexpr wchar_t kUrlA[] = L"https://photos.example.com/a.jpg";
constexpr wchar_t kUrlB[] = L"https://photos.example.com/b.jpg";

ShownCardPhoto UrlCard(int64_t index, const wchar_t* url) {
  return ShownCardPhoto{index, false, url, true};
}

TEST(PhotoFetchState, ACardWithOnlyAnAddressStartsAFetchStampedWithANewGeneration) {
  PhotoFetchState state;
  EXPECT_EQ(BeginShowCardPhoto(state, UrlCard(2, kUrlA)), PhotoStep::kStartFetch);
  EXPECT_EQ(state.photoGeneration, 1u);
  EXPECT_EQ(state.fetchCardIndex, -1);  // until the thread has started
  PhotoFetchStarted(state, 2, kUrlA);
  EXPECT_EQ(state.fetchCardIndex, 2);
  EXPECT_EQ(state.fetchUrl, kUrlA);
}

TEST(PhotoFetchState, ShowingTheSameCardAgainKeepsItsFetchAndPhoto) {
  PhotoFetchState state;
  BeginShowCardPhoto(state, UrlCard(2, kUrlA));
  PhotoFetchStarted(state, 2, kUrlA);
  EXPECT_EQ(BeginShowCardPhoto(state, UrlCard(2, kUrlA)), PhotoStep::kKeep);
  EXPECT_EQ(BeginShowCardPhoto(state, UrlCard(2, kUrlA)), PhotoStep::kKeep);
  EXPECT_EQ(state.photoGeneration, 1u);
  EXPECT_EQ(state.fetchCardIndex, 2);
}

TEST(PhotoFetchState, AnotherCardOrAnotherAddressStartsAnew) {
  PhotoFetchState state;
  BeginShowCardPhoto(state, UrlCard(2, kUrlA));
  PhotoFetchStarted(state, 2, kUrlA);
  EXPECT_EQ(BeginShowCardPhoto(state, UrlCard(3, kUrlA)), PhotoStep::kStartFetch);
  PhotoFetchStarted(state, 3, kUrlA);
  EXPECT_EQ(BeginShowCardPhoto(state, UrlCard(3, kUrlB)), PhotoStep::kStartFetch);
  PhotoFetchStarted(state, 3, kUrlB);
  // Back to the first card: its earlier fetch was forgotten, so it starts again.
  EXPECT_EQ(BeginShowCardPhoto(state, UrlCard(2, kUrlA)), PhotoStep::kStartFetch);
  EXPECT_EQ(state.photoGeneration, 4u);
}

TEST(PhotoFetchState, AFetchThatDidNotStartIsTriedAgainNextTime) {
  PhotoFetchState state;
  EXPECT_EQ(BeginShowCardPhoto(state, UrlCard(2, kUrlA)), PhotoStep::kStartFetch);
  EXPECT_EQ(BeginShowCardPhoto(state, UrlCard(2, kUrlA)), PhotoStep::kStartFetch);
}

TEST(PhotoFetchState, EmbeddedPhotosOffSwitchAndNoCardStartNothing) {
  PhotoFetchState state;
  EXPECT_EQ(BeginShowCardPhoto(state, ShownCardPhoto{1, true, kUrlA, true}),
            PhotoStep::kDecodeEmbedded);
  EXPECT_EQ(BeginShowCardPhoto(state, ShownCardPhoto{1, false, kUrlA, false}), PhotoStep::kNone);
  EXPECT_EQ(BeginShowCardPhoto(state, ShownCardPhoto{1, false, L"", true}), PhotoStep::kNone);
  EXPECT_EQ(BeginShowCardPhoto(state, ShownCardPhoto{-1, false, L"", true}), PhotoStep::kNone);
  EXPECT_EQ(state.photoGeneration, 4u);
}

TEST(PhotoFetchState, OnlyTheNewestAnswerForTheSelectedCardWithoutAPhotoCounts) {
  PhotoFetchState state;
  BeginShowCardPhoto(state, UrlCard(2, kUrlA));
  PhotoFetchStarted(state, 2, kUrlA);
  const uint32_t generation = state.photoGeneration;
  EXPECT_TRUE(AcceptFetchedPhoto(state, 2, false, generation, 2, false));
  EXPECT_FALSE(AcceptFetchedPhoto(state, 2, false, generation - 1, 2, false));  // older fetch
  EXPECT_FALSE(AcceptFetchedPhoto(state, 3, false, generation, 2, false));      // other card
  EXPECT_FALSE(AcceptFetchedPhoto(state, 2, true, generation, 2, false));       // photo shown
  EXPECT_FALSE(AcceptFetchedPhoto(state, 2, false, generation, 2, true));       // no bytes
  EXPECT_FALSE(AcceptFetchedPhoto(state, -1, false, generation, 2, false));     // no card
  InvalidatePhotoFetches(state);
  EXPECT_FALSE(AcceptFetchedPhoto(state, 2, false, generation, 2, false));
  EXPECT_EQ(state.fetchCardIndex, -1);
}

// The photos a viewer fetched: 32 at most and 16 MiB at most, the least
// recently used first out.
TEST(PhotoCache, KeepsTheMostRecentlyUsedWithinCountAndBytes) {
  PhotoCache cache;
  const auto bytes = [](size_t n) { return std::make_shared<const std::vector<uint8_t>>(n, 1); };
  for (int i = 0; i < 33; ++i) cache.Put(L"u" + std::to_wstring(i), bytes(10));
  EXPECT_EQ(cache.Count(), 32u);
  EXPECT_EQ(cache.Find(L"u0"), nullptr);
  ASSERT_NE(cache.Find(L"u1"), nullptr);  // now the most recently used
  cache.Put(L"big", bytes(PhotoCache::kMaxBytes - 100));
  EXPECT_EQ(cache.Count(), 11u);  // big, u1 and u32 down to u24
  EXPECT_EQ(cache.ByteCount(), PhotoCache::kMaxBytes);
  EXPECT_NE(cache.Find(L"u1"), nullptr);
  EXPECT_NE(cache.Find(L"u24"), nullptr);
  EXPECT_EQ(cache.Find(L"u23"), nullptr);
  cache.Put(L"huge", bytes(PhotoCache::kMaxBytes + 1));
  cache.Put(L"empty", bytes(0));
  EXPECT_EQ(cache.Find(L"huge"), nullptr);
  EXPECT_EQ(cache.Find(L"empty"), nullptr);
  cache.Clear();
  EXPECT_EQ(cache.Count(), 0u);
  EXPECT_EQ(cache.ByteCount(), 0u);
}

}  // namespace
}  // namespace kontaktel
