#include "app/RegistryKey.h"
#include "app/SettingsStore.h"
#include "ui/store/QSettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace quintrel;

namespace {
struct Rect {
    std::int32_t left, top, right, bottom;
};
} // namespace

TEST(RegistryKey, WritesCreateTheKeyAndReadsNeedIt) {
    MemorySettingsStore store;
    CRegistryKey key(store, KEY_APPLICATION);
    std::uint32_t n = 7;
    std::string text = "kept";
    EXPECT_FALSE(key.readNumber("uPause", n));
    EXPECT_FALSE(key.readText("Name", text));
    EXPECT_EQ(n, 7u);
    EXPECT_EQ(text, "kept");
    EXPECT_FALSE(key.isOpen());
    EXPECT_FALSE(key.deleteValue("uPause"));

    EXPECT_TRUE(key.writeNumber("uPause", 800u));
    EXPECT_TRUE(key.isOpen());
    EXPECT_TRUE(key.readNumber("uPause", n));
    EXPECT_EQ(n, 800u);
    EXPECT_TRUE(key.writeNumber("iPriority", -1));
    std::int32_t i = 0;
    EXPECT_TRUE(key.readNumber("iPriority", i));
    EXPECT_EQ(i, -1);
    EXPECT_EQ(store.readValue(KEY_APPLICATION, "uPause"), StoredValue::number(800));

    // Texts keep their terminating zero in the store and lose it on reading.
    EXPECT_TRUE(key.writeText("Name", "Light"));
    EXPECT_EQ(store.readValue(KEY_APPLICATION, "Name")->data.size(), 6u);
    EXPECT_TRUE(key.readText("Name", text));
    EXPECT_EQ(text, "Light");

    // A number read takes at most 4 bytes of any kind of value.
    EXPECT_TRUE(key.readNumber("Name", n) == false); // 6 bytes
    std::uint8_t two[2] = {0x34, 0x12};
    EXPECT_TRUE(key.writeBytes("Short", two, 2));
    EXPECT_TRUE(key.readNumber("Short", n));
    EXPECT_EQ(n, 0x1234u);

    // Deleting closes the key; the next operation opens it again.
    EXPECT_TRUE(key.deleteValue("Short"));
    EXPECT_FALSE(key.isOpen());
    EXPECT_FALSE(key.deleteValue("Short"));
    EXPECT_TRUE(key.readNumber("uPause", n));
}

TEST(RegistryKey, FixedSizeReadsMustMatchExactly) {
    MemorySettingsStore store;
    CRegistryKey key(store, KEY_APPLICATION);
    Rect r{0, 904, 1280, 1024};
    ASSERT_TRUE(key.writeBytes("LogWndRect", &r, sizeof r));
    Rect back{};
    EXPECT_TRUE(key.readBytes("LogWndRect", &back, 16));
    EXPECT_EQ(std::memcmp(&r, &back, 16), 0);

    // 20 bytes where 16 are expected: the read fails and the buffer is untouched,
    // so the caller takes its default rectangle and writes it back.
    std::uint8_t longer[20] = {1, 2, 3};
    ASSERT_TRUE(key.writeBytes("LogWndRect", longer, sizeof longer));
    Rect mine{5, 6, 7, 8};
    EXPECT_FALSE(key.readBytes("LogWndRect", &mine, 16));
    EXPECT_EQ(mine.left, 5);
    // A shorter block would leave part of the rectangle unset: refused too.
    ASSERT_TRUE(key.writeBytes("LogWndRect", longer, 12));
    EXPECT_FALSE(key.readBytes("LogWndRect", &mine, 16));
    ASSERT_TRUE(key.writeBytes("MainWndPos", longer, 8));
    std::uint8_t pos[8];
    EXPECT_TRUE(key.readBytes("MainWndPos", pos, 8));

    std::vector<std::uint8_t> any;
    EXPECT_TRUE(key.readBytesAlloc("LogWndRect", any));
    EXPECT_EQ(any.size(), 12u);
    EXPECT_FALSE(key.readBytesAlloc("Missing", any));
}

TEST(RegistryKey, WritesFailWhenTheStoreRefusesAndLongPathsAreCut) {
    MemorySettingsStore store;
    store.refuseWrites([](const std::string&, const std::string&) { return true; });
    {
        CRegistryKey key(store, KEY_PLAYERS);
        EXPECT_FALSE(key.writeNumber("uNumOfPlayers", 7u));
        EXPECT_TRUE(key.isOpen()); // the key was newly created; only the value failed
    }
    {
        // An existing key that cannot be opened is not "newly created" either.
        struct Stubborn : MemorySettingsStore {
            bool keyExists(const std::string&) override { return false; }
            bool createKey(const std::string&) override { return false; }
        } stubborn;
        CRegistryKey key(stubborn, KEY_PLAYERS);
        EXPECT_FALSE(key.writeText("Player00_Name", "Human"));
        EXPECT_FALSE(key.isOpen());
    }
    CRegistryKey longKey(store, std::string(100, 'k'));
    EXPECT_EQ(longKey.path().size(), CRegistryKey::MAX_PATH_LENGTH);
}

TEST(QSettingsStore, ValuesReadBackWithTheirKind) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("s.ini"));
    const std::uint8_t raw[] = {0x43, 0x00, 0x2c, 0xff, 0x0a, 0x3d};
    const std::vector<std::pair<std::string, StoredValue>> values = {
        {"uPause", StoredValue::number(800)},
        {"iPriority", StoredValue::number(0xFFFFFFFFu)},
        {"Five", StoredValue::text("5")},
        {"Empty", StoredValue::text("")},
        {"Odd", StoredValue::text("a, b; \"c\" = d\\e [f] Ünï")},
        {"LooksTyped", StoredValue::text("dword:00000005")},
        {"Raw", StoredValue::bytes(raw, sizeof raw)},
        {"NoBytes", StoredValue::bytes(raw, 0)},
    };
    {
        QSettingsStore store(path);
        CRegistryKey app(store, KEY_APPLICATION);
        CRegistryKey players(store, KEY_PLAYERS);
        EXPECT_FALSE(store.keyExists(KEY_PLAYERS));
        for (const auto& [name, value] : values) {
            ASSERT_TRUE(store.writeValue(KEY_APPLICATION, name, value)) << name;
            ASSERT_TRUE(players.writeText(name, "in players"));
        }
        EXPECT_TRUE(store.keyExists(KEY_PLAYERS));
    }
    QSettingsStore store(path);
    for (const auto& [name, value] : values) {
        EXPECT_EQ(store.readValue(KEY_APPLICATION, name), value) << name;
        EXPECT_EQ(store.readValue(KEY_PLAYERS, name), StoredValue::text("in players")) << name;
    }
    EXPECT_EQ(store.readValue(KEY_APPLICATION, "Missing"), std::nullopt);
    EXPECT_TRUE(store.deleteValue(KEY_PLAYERS, "Five"));
    EXPECT_FALSE(store.deleteValue(KEY_PLAYERS, "Five"));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray ini = file.readAll();
    EXPECT_TRUE(ini.contains("[Players]"));
    EXPECT_TRUE(ini.contains("uPause=dword:00000320"));
}

TEST(QSettingsStore, MapsKeyPathsAndReadsHandEditedValues) {
    EXPECT_EQ(QSettingsStore::groupOf(KEY_APPLICATION), QString());
    EXPECT_EQ(QSettingsStore::groupOf(KEY_PLAYERS), QStringLiteral("Players"));
    EXPECT_EQ(QSettingsStore::groupOf("software\\zekta\\quintrel++\\Players"),
              QStringLiteral("Players"));

    EXPECT_EQ(QSettingsStore::decode(QVariant(QStringLiteral("800"))), StoredValue::number(800));
    EXPECT_EQ(QSettingsStore::decode(QVariant(QStringLiteral("-1"))),
              StoredValue::number(0xFFFFFFFFu));
    EXPECT_EQ(QSettingsStore::decode(QVariant(QStringLiteral("Light"))),
              StoredValue::text("Light"));
    EXPECT_EQ(QSettingsStore::decode(QVariant(7)), StoredValue::number(7));
    EXPECT_EQ(QSettingsStore::decode(QVariant(QStringLiteral("dword:xyz"))), std::nullopt);
    EXPECT_EQ(QSettingsStore::decode(QVariant(QStringLiteral("hex:4"))), std::nullopt);
    EXPECT_EQ(QSettingsStore::decode(QVariant(QStringLiteral("hex:zz"))), std::nullopt);
    const std::uint8_t ab[] = {0xab, 0x01};
    EXPECT_EQ(QSettingsStore::decode(
                  QVariant(QStringList{QStringLiteral("hex:ab"), QStringLiteral("01")})),
              StoredValue::bytes(ab, 2));
}

TEST(QSettingsStore, EnvironmentSelectsTheIniFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("env.ini"));
    ::setenv("QUINTREL_SETTINGS", path.toLocal8Bit().constData(), 1);
    {
        QSettingsStore store;
        EXPECT_EQ(store.fileName(), path);
        CRegistryKey key(store, KEY_APPLICATION);
        EXPECT_TRUE(key.writeNumber("uPause", 1500u));
    }
    ::unsetenv("QUINTREL_SETTINGS");
    QSettingsStore store(path);
    EXPECT_EQ(store.readValue(KEY_APPLICATION, "uPause"), StoredValue::number(1500));
}
