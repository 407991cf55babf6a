// Containers and the singleton pattern: growth and shrink steps, bounds,
// ownership of elements, iterator stepping and construction checks.
#include "markup/containers.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "markup/faults.h"
#include "markup/singleton.h"
#include "markup/string.h"

namespace markup {
namespace {

int cells[200];

// A short list takes few slots: a parse keeps one list per element.
TEST(ListBaseTest, GrowsByHalvesAndShrinksOnceThreeQuartersAreFree) {
    ListBase list;
    EXPECT_EQ(list.Capacity(), 0u);
    list.Add(&cells[0]);
    EXPECT_EQ(list.Capacity(), 4u);
    for (int i = 1; i < 5; ++i) list.Add(&cells[i]);
    EXPECT_EQ(list.Capacity(), 6u);
    for (int i = 5; i < 21; ++i) list.Add(&cells[i]);
    EXPECT_EQ(list.Capacity(), 28u);  // 4, 6, 9, 13, 19, 28
    list.RemoveAt(0);
    EXPECT_EQ(list.Capacity(), 28u);

    ListBase big(80);
    for (int i = 0; i < 40; ++i) big.Add(&cells[i]);
    EXPECT_EQ(big.Capacity(), 80u);
    while (big.Count() > 20) big.RemoveAt(0);
    EXPECT_EQ(big.Capacity(), 80u);  // 20 is not less than a quarter
    EXPECT_EQ(big.RemoveAt(5), &cells[25]);
    EXPECT_EQ(big.Capacity(), 40u);
    EXPECT_EQ(big.Count(), 19u);
    EXPECT_EQ(big.ItemAt(5), &cells[26]);

    big.RemoveAll();
    EXPECT_EQ(big.Count(), 0u);
    EXPECT_EQ(big.Capacity(), 0u);
    big.Add(&cells[0]);
    EXPECT_EQ(big.ItemAt(0), &cells[0]);
}

// Long arrays change by a half growing and a quarter shrinking, so that
// filling and emptying stay linear.
TEST(ListBaseTest, LongArraysGrowAndShrinkGeometrically) {
    static int many[100000];
    ListBase list;
    std::uint32_t resizes = 0, last = 0;
    for (int& cell : many) {
        list.Add(&cell);
        if (list.Capacity() != last) ++resizes;
        last = list.Capacity();
    }
    EXPECT_LT(resizes, 40u);
    resizes = 0;
    while (list.Count()) {
        list.RemoveAt(list.Count() - 1);
        if (list.Capacity() != last) ++resizes;
        last = list.Capacity();
    }
    EXPECT_LT(resizes, 60u);
    EXPECT_LE(list.Capacity(), 8u);
}

TEST(ListBaseTest, FirstInsertMakesFourSlots) {
    ListBase list;
    list.InsertAt(0, &cells[1]);
    list.InsertAt(0, &cells[0]);
    list.InsertAt(2, &cells[2]);
    EXPECT_EQ(list.Capacity(), 4u);
    for (std::uint32_t i = 0; i < 3; ++i) EXPECT_EQ(list.ItemAt(i), &cells[i]);
}

TEST(ListBaseTest, BadIndexesRaiseAndChangeNothing) {
    List<int> list;
    list.Add(&cells[0]);
    list.Add(&cells[1]);
    EXPECT_THROW(list.RemoveAt(2), InvalidArgumentFault);
    EXPECT_THROW(list.InsertAt(3, &cells[2]), InvalidArgumentFault);
    EXPECT_THROW(list.RemoveAt(0xFFFFFFFFu), LogicFault);
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.At(1), &cells[1]);
    EXPECT_EQ(list.At(2), nullptr);

    List<int> empty;
    EXPECT_EQ(empty.RemoveLast(), nullptr);
    EXPECT_THROW(empty.RemoveAt(0), InvalidArgumentFault);
}

TEST(ListBaseTest, SwapAndIndexOf) {
    List<int> list;
    list.Add(&cells[0]);
    list.Add(nullptr);
    list.Add(&cells[2]);
    list.Swap(0, 2);
    EXPECT_EQ(list.At(0), &cells[2]);
    list.Swap(0, 1);  // refused: a null pointer
    list.Swap(0, 3);  // refused: past the count
    EXPECT_EQ(list.At(0), &cells[2]);
    EXPECT_EQ(list.At(1), nullptr);

    std::uint32_t index = 99;
    EXPECT_TRUE(list.IndexOf(&cells[0], index));
    EXPECT_EQ(index, 2u);
    EXPECT_FALSE(list.IndexOf(&cells[7], index));
}

struct Counted {
    static inline int live = 0;
    int value;
    explicit Counted(int v) : value(v) { ++live; }
    Counted(const Counted& o) : value(o.value) { ++live; }
    ~Counted() { --live; }
};

TEST(VectorTest, OwnsCopiesAndListOnlyPoints) {
    {
        Vector<Counted> vector;
        Counted a(1);
        vector.Add(a);
        vector.Prepend(Counted(0));
        vector.InsertAt(2, Counted(2));
        EXPECT_EQ(Counted::live, 4);
        EXPECT_NE(vector.At(1), &a);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(vector.At(i)->value, i);
        {
            List<Counted> view;
            for (std::uint32_t i = 0; i < vector.Count(); ++i) view.Add(vector.At(i));
        }
        EXPECT_EQ(Counted::live, 4);  // the list destroyed none
    }
    EXPECT_EQ(Counted::live, 0);  // the vector destroyed its three copies
}

TEST(VectorTest, DeleteLastAndAppendAllKeepNulls) {
    Vector<String> words;
    words.Add(String("a"));
    words.ListBase::Add(nullptr);
    words.Add(String("c"));
    Vector<String> copy;
    copy.AppendAll(words);
    ASSERT_EQ(copy.Count(), 3u);
    EXPECT_EQ(*copy.At(0), "a");
    EXPECT_EQ(copy.At(1), nullptr);
    EXPECT_NE(copy.At(2), words.At(2));
    copy.DeleteLast();
    copy.DeleteLast();
    copy.DeleteLast();
    copy.DeleteLast();  // nothing left: no effect
    EXPECT_EQ(copy.Count(), 0u);

    Vector<long> numbers;
    numbers.Add(7);
    numbers.Add(-1);
    EXPECT_EQ(*numbers.At(1), -1);
    numbers.DeleteLast();
    EXPECT_EQ(numbers.Count(), 1u);
}

struct Shape {
    virtual ~Shape() = default;
    virtual Shape* Clone() const { return new Shape(*this); }
    virtual int Corners() const { return 0; }
};
struct Square : Shape {
    Square* Clone() const override { return new Square(*this); }
    int Corners() const override { return 4; }
};

TEST(VectorTest, PolymorphicElementsAreNotSliced) {
    Vector<Shape> shapes;
    shapes.Add(Square());
    shapes.Add(Shape());
    EXPECT_EQ(shapes.At(0)->Corners(), 4);
    EXPECT_NE(dynamic_cast<Square*>(shapes.At(0)), nullptr);
    EXPECT_EQ(shapes.At(1)->Corners(), 0);
}

// Answers null from its nothrow allocation while `refuse` is set.
struct Refusing {
    static inline bool refuse = false;
    int value = 0;
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
        return refuse ? nullptr : ::operator new(size, std::nothrow);
    }
    static void operator delete(void* p) noexcept { ::operator delete(p); }
};

TEST(VectorTest, CopyWithoutMemoryStoresNull) {
    Vector<Refusing> vector;
    vector.Add(Refusing{1});
    Refusing::refuse = true;
    vector.Add(Refusing{2});
    Refusing::refuse = false;
    ASSERT_EQ(vector.Count(), 2u);
    EXPECT_EQ(vector.At(0)->value, 1);
    EXPECT_EQ(vector.At(1), nullptr);
}

TEST(IteratorTest, SteppingPastEitherEnd) {
    List<int> list;
    for (int i = 0; i < 3; ++i) list.Add(&cells[i]);
    Iterator<int> it(&list);
    EXPECT_EQ(it.Current(), &cells[0]);
    EXPECT_EQ(it.Next(), &cells[1]);
    EXPECT_EQ(it.Last(), &cells[2]);
    EXPECT_EQ(it.Next(), nullptr);
    EXPECT_EQ(it.Seek(1), &cells[1]);
    it.Reset();
    EXPECT_EQ(it.Previous(), nullptr);
    EXPECT_EQ(it.Position(), 0xFFFFFFFFu);
    EXPECT_EQ(it.First(), &cells[0]);
    EXPECT_EQ(it.Count(), 3u);
    EXPECT_EQ(it.SetPosition(2), 2u);
    EXPECT_EQ(it.Current(), &cells[2]);
    EXPECT_EQ(it.List(), &list);

    List<int> empty;
    Iterator<int> none(&empty);
    EXPECT_EQ(none.Last(), nullptr);
    EXPECT_EQ(none.First(), nullptr);
}

TEST(IteratorTest, OwningIteratorDeletesTheListNotTheElements) {
    auto* vector = new Vector<Counted>;
    vector->Add(Counted(5));
    Counted* element = vector->At(0);
    const int before = Counted::live;
    { Iterator<Counted> it(vector, true); }
    EXPECT_EQ(Counted::live, before);  // forgotten, not destroyed
    delete element;
}

class Registry {
  public:
    Registry() { Singleton<Registry>::CheckConstruction(); }
    int uses = 0;
};

class Fragile {
  public:
    Fragile() {
        Singleton<Fragile>::CheckConstruction();
        if (fail) throw RuntimeFault();
    }
    static inline bool fail = true;
};

TEST(SingletonTest, OnlyTheAccessorBuildsTheInstance) {
    EXPECT_THROW(Registry(), IllegalUsageFault);
    Registry& first = Singleton<Registry>::Instance();
    first.uses = 3;
    EXPECT_EQ(&Singleton<Registry>::Instance(), &first);
    EXPECT_EQ(Singleton<Registry>::Instance().uses, 3);
    EXPECT_THROW(Registry(), IllegalUsageFault);  // not while the instance exists either
    Singleton<Registry>::Release();
    EXPECT_FALSE(Singleton<Registry>::Exists());
    EXPECT_EQ(Singleton<Registry>::Instance().uses, 0);
}

TEST(SingletonTest, FailedConstructionLeavesNoMarkerBehind) {
    EXPECT_THROW(Singleton<Fragile>::Instance(), RuntimeFault);
    EXPECT_FALSE(Singleton<Fragile>::Exists());
    Fragile::fail = false;
    EXPECT_NO_THROW(Singleton<Fragile>::Instance());
    EXPECT_TRUE(Singleton<Fragile>::Exists());
}

// Counts its constructions; building takes a while, so that late callers
// arrive while the first is still inside the constructor.
class Slow {
  public:
    Slow() {
        Singleton<Slow>::CheckConstruction();
        ++built;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        ready = 42;
    }
    int ready = 0;
    static inline std::atomic<int> built{0};
};

class AsksForItself {
  public:
    AsksForItself() { Singleton<AsksForItself>::Instance(); }
};

TEST(SingletonTest, ConcurrentFirstUseBuildsOneWholeInstance) {
    for (int round = 0; round < 100; ++round) {
        Singleton<Slow>::Release();
        Slow::built = 0;
        std::atomic<int> waiting{8};
        std::array<Slow*, 8> seen{};
        std::array<int, 8> ready{};
        std::vector<std::thread> threads;
        for (std::size_t t = 0; t < seen.size(); ++t) {
            threads.emplace_back([&, t] {
                waiting.fetch_sub(1);
                while (waiting.load() > 0) std::this_thread::yield();
                seen[t] = &Singleton<Slow>::Instance();
                ready[t] = seen[t]->ready;
            });
        }
        for (std::thread& thread : threads) thread.join();
        ASSERT_EQ(Slow::built.load(), 1) << "round " << round;
        for (std::size_t t = 0; t < seen.size(); ++t) {
            ASSERT_EQ(seen[t], seen[0]) << "round " << round;
            ASSERT_EQ(ready[t], 42) << "round " << round;
        }
    }
    Singleton<Slow>::Release();
}

TEST(SingletonTest, AnotherThreadCannotConstructDuringTheBuild) {
    // While one thread builds, a T made directly elsewhere is still refused.
    class Watched {
      public:
        Watched() {
            Singleton<Watched>::CheckConstruction();
            std::thread other([this] {
                try {
                    Watched stray;
                } catch (const IllegalUsageFault&) {
                    refused = true;
                }
            });
            other.join();
        }
        bool refused = false;
    };
    EXPECT_TRUE(Singleton<Watched>::Instance().refused);
    Singleton<Watched>::Release();
}

TEST(SingletonTest, ConstructorAskingForItselfIsAFaultNotAHang) {
    EXPECT_THROW(Singleton<AsksForItself>::Instance(), IllegalUsageFault);
    EXPECT_FALSE(Singleton<AsksForItself>::Exists());
}

}  // namespace
}  // namespace markup
