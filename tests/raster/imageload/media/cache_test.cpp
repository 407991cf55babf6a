// The image cache over decoded pictures: sharing, sizes, reloading and
// loading from several threads at once.
#include <png.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <atomic>
#include <thread>

#include "media_fixture.h"

namespace imageload::testing {
namespace {

class CacheTest : public PictureFolderTest {
  protected:
    std::string Picture(const std::string& name, int width, int height, std::uint8_t grey) {
        const std::string path = Path(name);
        WritePng(path, width, height, PNG_COLOR_TYPE_GRAY, 8,
                 std::vector<std::vector<std::uint8_t>>(height, std::vector<std::uint8_t>(width, grey)));
        return path;
    }
    // Gives the file a modification time `seconds` later than it has.
    void Touch(const std::string& path, int seconds) {
        struct stat status {};
        ASSERT_EQ(::stat(path.c_str(), &status), 0);
        timespec times[2] = {status.st_atim, status.st_mtim};
        times[1].tv_sec += seconds;
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
};

TEST_F(CacheTest, SameSourceIsSharedAndReleasedByUseCount) {
    const std::string path = Picture("shared.png", 20, 30, 9);
    ImageHandler& cache = ImageHandler::Instance();
    std::int32_t width = 0, height = 0;
    int loaded = 0;
    Image* first = cache.GetImage(path.c_str(), width, height, loaded, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, 30);
    width = height = 0;
    Image* second = cache.GetImage(path.c_str(), width, height, loaded, nullptr);
    EXPECT_EQ(second, first);
    EXPECT_EQ(first->useCount, 2u);
    EXPECT_EQ(first->format, kFormatPng);
    EXPECT_EQ(first->frameCount, 1);
    EXPECT_EQ(cache.ImageCount(), 1u);
    EXPECT_EQ(cache.ReleaseImage(first), 1u);
    EXPECT_EQ(cache.ReleaseImage(first), 0u);
    EXPECT_EQ(cache.ImageCount(), 0u);
}

TEST_F(CacheTest, AnotherSizeGetsThePicturesOwnBounds) {
    const std::string path = Picture("sized.png", 20, 30, 9);
    ImageHandler& cache = ImageHandler::Instance();
    platform::Rect rect{0, 0, 10, 10};
    Image* image = cache.Lookup(path.c_str(), nullptr, rect);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(rect, (platform::Rect{0, 0, 20, 30}));
    EXPECT_EQ(image->bounds, (platform::Rect{0, 0, 20, 30}));
    cache.ReleaseImage(image);
}

TEST_F(CacheTest, ChangedFileIsDecodedAgain) {
    const std::string path = Picture("changing.png", 4, 4, 10);
    ImageHandler& cache = ImageHandler::Instance();
    std::int32_t width = 0, height = 0;
    int loaded = 0;
    Image* image = cache.GetImage(path.c_str(), width, height, loaded, nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(ColourAt(image->Frame(0)->image, 0, 0), Rgb(10, 10, 10));
    Picture("changing.png", 4, 4, 200);
    Touch(path, 5);
    width = height = 0;
    EXPECT_EQ(cache.GetImage(path.c_str(), width, height, loaded, nullptr), image);
    ASSERT_NE(image->Frame(0), nullptr);
    EXPECT_EQ(ColourAt(image->Frame(0)->image, 0, 0), Rgb(200, 200, 200));
    cache.ReleaseImage(image);
    cache.ReleaseImage(image);
}

TEST_F(CacheTest, EightThreadsDecodeEachPictureOnce) {
    std::array<std::string, 4> paths;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        paths[i] = Picture("shared" + std::to_string(i) + ".png", 40 + static_cast<int>(i), 30, std::uint8_t(i * 50));
    }
    ImageHandler& cache = ImageHandler::Instance();
    std::array<std::array<Image*, 4>, 8> seen{};
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < seen.size(); ++t) {
        threads.emplace_back([&, t] {
            for (std::size_t k = 0; k < paths.size(); ++k) {
                const std::size_t i = (k + t) % paths.size();  // each thread starts elsewhere
                std::int32_t width = 0, height = 0;
                int loaded = 0;
                seen[t][i] = cache.GetImage(paths[i].c_str(), width, height, loaded, nullptr);
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(cache.ImageCount(), 4u);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        ASSERT_NE(seen[0][i], nullptr);
        for (std::size_t t = 1; t < seen.size(); ++t) EXPECT_EQ(seen[t][i], seen[0][i]);
        EXPECT_EQ(seen[0][i]->useCount, 8u);
        EXPECT_EQ(seen[0][i]->bounds.right, 40 + static_cast<int>(i));
    }
}

// The first calls of Instance() come from several threads at once: one cache
// is built, and every thread gets it whole and can use it at once. Repeated,
// because a lost race shows only now and then.
TEST_F(CacheTest, FirstUseFromEightThreadsBuildsOneCache) {
    const std::string path = Picture("first.png", 6, 5, 77);
    for (int round = 0; round < 100; ++round) {
        markup::Singleton<ImageHandler>::Release();
        std::atomic<int> waiting{8};
        std::array<ImageHandler*, 8> seen{};
        std::array<Image*, 8> images{};
        std::vector<std::thread> threads;
        for (std::size_t t = 0; t < seen.size(); ++t) {
            threads.emplace_back([&, t] {
                waiting.fetch_sub(1);
                while (waiting.load() > 0) std::this_thread::yield();
                seen[t] = &ImageHandler::Instance();
                std::int32_t width = 0, height = 0;
                int loaded = 0;
                images[t] = seen[t]->GetImage(path.c_str(), width, height, loaded, nullptr);
            });
        }
        for (std::thread& thread : threads) thread.join();
        for (std::size_t t = 0; t < seen.size(); ++t) {
            ASSERT_EQ(seen[t], seen[0]) << "round " << round;
            ASSERT_EQ(images[t], images[0]) << "round " << round;
        }
        ASSERT_NE(images[0], nullptr);
        EXPECT_EQ(images[0]->useCount, 8u);
        EXPECT_EQ(seen[0]->ImageCount(), 1u);
    }
}

}  // namespace
}  // namespace imageload::testing
