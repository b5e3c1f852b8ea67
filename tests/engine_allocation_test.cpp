// An effect whose program bank cannot be allocated is never handed out, and
// nothing of it is left behind. The global allocation functions of this test
// program count live blocks and refuse the bank's allocation on request.
#include "tests/engine_test_support.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>

namespace {
std::atomic<long> liveBlocks{0};
std::atomic<bool> refuseBank{false};
std::atomic<int> refusals{0};

void* allocate(std::size_t size) noexcept {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block != nullptr) {
        ++liveBlocks;
    }
    return block;
}

void release(void* block) noexcept {
    if (block != nullptr) {
        --liveBlocks;
        std::free(block);
    }
}

void* allocateOrThrow(std::size_t size) {
    if (void* block = allocate(size)) {
        return block;
    }
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (refuseBank && size == sizeof(TarvokinProgram) * kNumPrograms) {
        ++refusals;
        return nullptr;
    }
    return allocate(size);
}
void operator delete(void* block) noexcept {
    release(block);
}
void operator delete[](void* block) noexcept {
    release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    release(block);
}

namespace {

TEST(EffectAllocation, MissingBankMeansNoEffectAndNothingLeaked) {
    setEditorFactoryMode(EditorFactoryMode::recording);
    const long before = liveBlocks;
    refuseBank = true;
    AudioEffect* effect = createEffectInstance(nullptr);
    refuseBank = false;
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(effect, nullptr);
    EXPECT_EQ(liveBlocks, before);
    setEditorFactoryMode(EditorFactoryMode::none);
}

TEST(EffectAllocation, ClosingReleasesBankAndEditor) {
    setEditorFactoryMode(EditorFactoryMode::recording);
    const long before = liveBlocks;
    AudioEffect* effect = createEffectInstance(nullptr);
    ASSERT_NE(effect, nullptr);
    EXPECT_NE(effect->getEditor(), nullptr);
    EXPECT_GT(liveBlocks, before);
    delete effect;
    EXPECT_EQ(liveBlocks, before);
    setEditorFactoryMode(EditorFactoryMode::none);
}

} // namespace
