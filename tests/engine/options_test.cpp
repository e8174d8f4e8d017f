#include "app/OptionValues.h"
#include "app/RegistryKey.h"

#include <gtest/gtest.h>

using namespace quintrel;

namespace {
std::optional<StoredValue> app(MemorySettingsStore& store, const std::string& name) {
    return store.readValue(KEY_APPLICATION, name);
}
} // namespace

TEST(OptionValues, FirstRunWritesTheDefaults) {
    OptionValues fresh;
    EXPECT_EQ(fresh.ask, 1);
    EXPECT_EQ(fresh.expertChoice, -1);
    EXPECT_EQ(fresh.priority, 0);

    MemorySettingsStore store;
    OptionValues o;
    o.load(store);
    EXPECT_EQ(o.ask, 0);
    EXPECT_EQ(o.expertChoice, 1);
    EXPECT_EQ(o.expertIndex(), 2);
    EXPECT_EQ(o.priority, 1);
    EXPECT_EQ(o.threadPriority(), 0);
    EXPECT_EQ(o.pause, 800u);
    EXPECT_EQ(app(store, "bAskIfSave"), StoredValue::number(0));
    EXPECT_EQ(app(store, "iDefaultPlayer"), StoredValue::number(2));
    EXPECT_EQ(app(store, "iPriority"), StoredValue::number(1));
    EXPECT_EQ(app(store, "uPause"), StoredValue::number(800));
}

TEST(OptionValues, InvalidValuesAreRepairedAndValidOnesKept) {
    for (std::int32_t bad : {4, 7, -1}) {
        MemorySettingsStore store;
        CRegistryKey key(store, KEY_APPLICATION);
        key.writeNumber("iPriority", bad);
        key.writeNumber("uPause", 60000u);
        key.close();
        OptionValues o;
        o.load(store);
        EXPECT_EQ(o.priority, 1) << bad;
        EXPECT_EQ(app(store, "iPriority"), StoredValue::number(1));
        EXPECT_EQ(o.pause, 800u);
        EXPECT_EQ(app(store, "uPause"), StoredValue::number(800));
    }

    MemorySettingsStore store;
    {
        CRegistryKey key(store, KEY_APPLICATION);
        key.writeNumber("bAskIfSave", 1);
        key.writeNumber("iDefaultPlayer", 5);
        key.writeNumber("iPriority", 3);
        key.writeNumber("uPause", 5000u);
    }
    OptionValues o;
    o.load(store);
    EXPECT_EQ(o.ask, 1);
    EXPECT_EQ(o.expertChoice, 4);
    EXPECT_EQ(o.priority, 3);
    EXPECT_EQ(o.threadPriority(), 2);
    EXPECT_EQ(o.pause, 5000u);
}

TEST(OptionValues, SaveWritesAllFourAsNumbers) {
    MemorySettingsStore store;
    OptionValues o;
    o.ask = 1;
    o.expertChoice = 3;
    o.priority = 2;
    o.pause = 100;
    ASSERT_TRUE(o.save(store));
    OptionValues back;
    back.load(store);
    EXPECT_EQ(back.ask, 1);
    EXPECT_EQ(back.expertChoice, 3);
    EXPECT_EQ(back.priority, 2);
    EXPECT_EQ(back.pause, 100u);
    EXPECT_EQ(app(store, "iDefaultPlayer"), StoredValue::number(4));
}
