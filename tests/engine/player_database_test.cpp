#include "app/RegistryKey.h"
#include "app/SettingsStore.h"
#include "players/HumanPlayer.h"
#include "players/MasterSettings.h"
#include "catalogue/PlayerDatabase.h"
#include "catalogue/PlayerKindCatalogue.h"
#include "players/TreeSettings.h"
#include "ui/store/QSettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace quintrel;

namespace {

std::vector<std::uint8_t> bytesOf(const std::string& tag, std::vector<std::uint8_t> data) {
    std::vector<std::uint8_t> out(tag.begin(), tag.end());
    out.push_back(0);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

std::optional<StoredValue> stored(MemorySettingsStore& store, const std::string& name,
                                  const std::string& path = KEY_PLAYERS) {
    return store.readValue(path, name);
}

std::uint32_t storedNumber(MemorySettingsStore& store, const std::string& name,
                           const std::string& path = KEY_PLAYERS) {
    CRegistryKey key(store, path);
    std::uint32_t v = 0xDEADBEEF;
    EXPECT_TRUE(key.readNumber(name, v)) << name;
    return v;
}

// A stored list: the seven defaults followed by user players copied from kind,
// as the game wrote it before the later kinds came.
void storeList(SettingsBackend& store, const std::vector<int>& extraKinds) {
    CPlayerDatabase db(store);
    db.resetToDefaults();
    std::vector<PlayerDefinition> list = db.definitions();
    list.resize(PlayerKindCatalogue::FIXED_KIND_COUNT);
    for (std::size_t i = 0; i < extraKinds.size(); ++i) {
        PlayerDefinition d = PlayerKindCatalogue::entry(extraKinds[i]);
        d.name = "Extra " + std::to_string(i);
        list.push_back(d);
    }
    CRegistryKey key(store, KEY_PLAYERS);
    for (std::size_t i = 0; i < list.size(); ++i)
        ASSERT_TRUE(list[i].write(key, playerPrefix(i)));
    ASSERT_TRUE(key.writeNumber("uNumOfPlayers", static_cast<std::uint32_t>(list.size())));
    for (std::size_t i = list.size(); PlayerDefinition::erase(key, playerPrefix(i)); ++i) {
    }
}

void expectDefaultList(const CPlayerDatabase& db) {
    ASSERT_EQ(db.count(), 8u);
    for (int i = 0; i < 8; ++i) {
        const auto& d = db.definitions()[static_cast<std::size_t>(i)];
        const auto& e = PlayerKindCatalogue::entry(i);
        EXPECT_EQ(d.name, e.name);
        EXPECT_EQ(d.className(), e.className());
        EXPECT_EQ(d.settings, e.settings);
    }
}

} // namespace

TEST(PlayerDatabase, FirstStartStoresTheSevenDefaultsAndLightAsExpert) {
    MemorySettingsStore store;
    CPlayerDatabase db(store);
    EXPECT_FALSE(db.isLoaded());
    db.load();

    expectDefaultList(db);
    EXPECT_EQ(db.expertIndex(), 2u);
    EXPECT_EQ(db.definitions()[db.expertIndex()].name, "Light");
    if (db.expertPlayer()) {
        EXPECT_STREQ(db.expertPlayer()->className(), "CLightPlayer");
    }

    EXPECT_EQ(storedNumber(store, "uNumOfPlayers"), 8u);
    EXPECT_EQ(storedNumber(store, "iDefaultPlayer", KEY_APPLICATION), 2u);
    for (std::size_t i = 0; i < 7; ++i) {
        const auto& e = PlayerKindCatalogue::entries()[i];
        auto p = playerPrefix(i);
        EXPECT_EQ(stored(store, p + "Name"), StoredValue::text(e.name));
        EXPECT_EQ(stored(store, p + "Description"), StoredValue::text(e.description));
        EXPECT_EQ(stored(store, p + "Class"), StoredValue::text(e.className()));
    }
    EXPECT_FALSE(store.hasValue(KEY_PLAYERS, "Player08_Name"));
    // Tag, zero byte, record: 21 bytes for Light, the bare tag for Chaotic.
    EXPECT_EQ(stored(store, "Player02_Settings")->data,
              bytesOf("CLightPlayer", {1, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(stored(store, "Player02_Settings")->data.size(), 21u);
    EXPECT_EQ(stored(store, "Player01_Settings")->data, bytesOf("CRandomPlayer", {}));
    EXPECT_EQ(stored(store, "Player01_Settings")->kind, ValueKind::Bytes);

    // The stored list loads back as it was written.
    CPlayerDatabase again(store);
    again.load();
    expectDefaultList(again);
}

TEST(PlayerDatabase, DamagedListsFallBackToTheDefaults) {
    { // A list of 9 with the wrong kind at position 4.
        MemorySettingsStore store;
        storeList(store, {PlayerKindCatalogue::LIGHT, PlayerKindCatalogue::MEDIUM});
        CRegistryKey(store, KEY_PLAYERS).writeText("Player04_Class", "CAlphaBetaPlayer");
        CPlayerDatabase db(store);
        db.load();
        expectDefaultList(db);
        EXPECT_EQ(storedNumber(store, "uNumOfPlayers"), 8u);
        EXPECT_FALSE(store.hasValue(KEY_PLAYERS, "Player08_Name"));
        EXPECT_FALSE(store.hasValue(KEY_PLAYERS, "Player08_Settings"));
    }
    { // A settings value without its zero byte makes definition 3 unreadable: 3 < 7.
        MemorySettingsStore store;
        storeList(store, {});
        std::string raw = "CMediumPlayer";
        CRegistryKey(store, KEY_PLAYERS).writeBytes("Player03_Settings", raw.data(), raw.size());
        CPlayerDatabase db(store);
        db.load();
        expectDefaultList(db);
    }
    { // An unknown class name, and a class spelt in another case, are unreadable too.
        MemorySettingsStore store;
        storeList(store, {});
        CRegistryKey(store, KEY_PLAYERS).writeText("Player05_Class", "calphabetaplayer");
        CPlayerDatabase db(store);
        db.load();
        expectDefaultList(db);
        EXPECT_EQ(stored(store, "Player05_Class"), StoredValue::text("CAlphaBetaPlayer"));
    }
    { // A damaged count is not trusted for sizing the list.
        MemorySettingsStore store;
        storeList(store, {});
        CRegistryKey(store, KEY_PLAYERS).writeNumber("uNumOfPlayers", 0xFFFFFFFFu);
        CPlayerDatabase db(store);
        db.load();
        expectDefaultList(db);
        EXPECT_EQ(storedNumber(store, "uNumOfPlayers"), 8u);
    }
}

TEST(PlayerDatabase, MissingClassCutsTheListAndRewritesTheCount) {
    MemorySettingsStore store;
    storeList(store, {PlayerKindCatalogue::LIGHT, PlayerKindCatalogue::CHAOTIC,
                      PlayerKindCatalogue::MEDIUM});
    CRegistryKey(store, KEY_PLAYERS).deleteValue("Player08_Class");
    CPlayerDatabase db(store);
    db.load();
    ASSERT_EQ(db.count(), 9u); // Master appended after the cut
    EXPECT_EQ(db.definitions()[7].name, "Extra 0");
    EXPECT_EQ(storedNumber(store, "uNumOfPlayers"), 9u);
}

TEST(PlayerDatabase, RejectedSettingsBlockIsReplacedByTheKindsDefaults) {
    MemorySettingsStore store;
    storeList(store, {PlayerKindCatalogue::CHAOTIC});
    {
        CRegistryKey key(store, KEY_PLAYERS);
        auto medium = bytesOf("CMediumPlayer", {0, 0, 0, 0, 0, 0, 0, 0});
        key.writeBytes("Player03_Settings", medium.data(), medium.size());
        auto emptyTag = bytesOf("", {1, 0, 0, 0});
        key.writeBytes("Player00_Settings", emptyTag.data(), emptyTag.size());
        // Chaotic has no validation: any block with a tag is taken as it is.
        auto odd = bytesOf("CRandomPlayer", {9});
        key.writeBytes("Player07_Settings", odd.data(), odd.size());
    }
    CPlayerDatabase db(store);
    db.load();
    ASSERT_EQ(db.count(), 9u);
    EXPECT_EQ(db.definitions()[3].settings, PlayerKindCatalogue::entry(3).settings);
    EXPECT_EQ(stored(store, "Player03_Settings")->data, bytesOf("CMediumPlayer", {2, 0, 0, 0}));
    EXPECT_EQ(stored(store, "Player00_Settings")->data, bytesOf("CHumanPlayer", {2, 0, 0, 0}));
    EXPECT_EQ(db.definitions()[7].settings.data, std::vector<std::uint8_t>{9});
}

TEST(PlayerDatabase, ExpertOutOfRangeBecomesLight) {
    for (std::uint32_t bad : {8u, 100u, 0xFFFFFFFFu}) {
        MemorySettingsStore store;
        storeList(store, {});
        CRegistryKey(store, KEY_APPLICATION).writeNumber("iDefaultPlayer", bad);
        CPlayerDatabase db(store);
        db.load();
        EXPECT_EQ(db.expertIndex(), 2u) << bad;
        EXPECT_EQ(storedNumber(store, "iDefaultPlayer", KEY_APPLICATION), 2u);
    }
    MemorySettingsStore store;
    storeList(store, {PlayerKindCatalogue::CHAOTIC});
    CRegistryKey(store, KEY_APPLICATION).writeNumber("iDefaultPlayer", 7u);
    CPlayerDatabase db(store);
    db.load();
    EXPECT_EQ(db.expertIndex(), 7u);
    ASSERT_NE(db.expertPlayer(), nullptr);
    EXPECT_EQ(db.expertPlayer()->definition, &db.definitions()[7]);
    EXPECT_EQ(db.expertPlayer()->name(), "Extra 0");
}

TEST(PlayerDatabase, SavingAShorterListErasesTheRest) {
    MemorySettingsStore store;
    storeList(store, {1, 1, 1});
    CPlayerDatabase db(store);
    db.load();
    ASSERT_EQ(db.count(), 11u);

    // Edit Players drops the last two.
    db.setEditPlayersDialog([](std::vector<PlayerDefinition>& list, int&, int&, std::uint32_t&) {
        list.resize(8);
        return true;
    });
    int first = 0, second = 2;
    ASSERT_TRUE(db.editPlayers(first, second, nullptr, nullptr));
    ASSERT_TRUE(db.save());
    EXPECT_EQ(storedNumber(store, "uNumOfPlayers"), 8u);
    EXPECT_TRUE(store.hasValue(KEY_PLAYERS, "Player07_Settings"));
    for (const char* v : {"Name", "Description", "Class", "Settings"}) {
        EXPECT_FALSE(store.hasValue(KEY_PLAYERS, std::string("Player08_") + v));
        EXPECT_FALSE(store.hasValue(KEY_PLAYERS, std::string("Player09_") + v));
    }
}

TEST(PlayerDatabase, PrefixesGrowPastTwoDigits) {
    EXPECT_EQ(playerPrefix(0), "Player00_");
    EXPECT_EQ(playerPrefix(7), "Player07_");
    EXPECT_EQ(playerPrefix(99), "Player99_");
    EXPECT_EQ(playerPrefix(100), "Player100_");

    MemorySettingsStore store;
    storeList(store, std::vector<int>(94, PlayerKindCatalogue::CHAOTIC));
    CPlayerDatabase db(store);
    db.load();
    ASSERT_EQ(db.count(), 102u);
    EXPECT_EQ(db.definitions()[100].name, "Extra 93");
    EXPECT_EQ(stored(store, "Player100_Name"), StoredValue::text("Extra 93"));
}

TEST(PlayerDatabase, FailedWriteLeavesAConsistentShorterList) {
    MemorySettingsStore store;
    CPlayerDatabase db(store);
    db.load();
    store.refuseWrites(
        [](const std::string&, const std::string& name) { return name == "Player05_Class"; });
    EXPECT_FALSE(db.save());
    EXPECT_EQ(storedNumber(store, "uNumOfPlayers"), 5u);
    store.refuseWrites(nullptr);

    CPlayerDatabase again(store);
    again.load(); // 5 is fewer than the seven kinds: back to the defaults
    expectDefaultList(again);
}

TEST(PlayerDatabase, CreatesPlayersLinkedToTheirDefinitions) {
    MemorySettingsStore store;
    CPlayerDatabase db(store);
    db.load();
    auto sink = std::make_shared<QueueSink>();
    db.setNotifyWindow(sink);
    db.setThreadPriority(1);

    auto human = db.createPlayer(0);
    ASSERT_NE(human, nullptr);
    EXPECT_STREQ(human->className(), "CHumanPlayer");
    EXPECT_EQ(human->isComputer, 0);
    EXPECT_EQ(human->definition, &db.definitions()[0]);
    EXPECT_EQ(human->name(), "Human");
    EXPECT_EQ(human->window.lock(), sink);
    EXPECT_EQ(human->priority, 1);
    db.setThreadPriority(3);
    EXPECT_EQ(db.threadPriority(), 1);
    EXPECT_EQ(db.createPlayer(0)->priority, 1);

    auto chaotic = db.createPlayer(1);
    ASSERT_NE(chaotic, nullptr);
    EXPECT_STREQ(chaotic->className(), "CRandomPlayer");
    EXPECT_EQ(chaotic->isComputer, 1);

    const std::uint32_t before = db.expertIndex();
    EXPECT_EQ(db.createPlayer(8), nullptr);
    EXPECT_FALSE(db.setExpert(8));
    EXPECT_EQ(db.expertIndex(), before);
    EXPECT_TRUE(db.setExpert(1));
    EXPECT_EQ(db.expertIndex(), 1u);
    EXPECT_EQ(db.expertPlayer()->window.lock(), sink);

    db.createHumanPlayer();
    ASSERT_NE(db.humanPlayer(), nullptr);
    EXPECT_EQ(db.humanPlayer()->definition, &db.definitions()[0]);

    EXPECT_EQ(db.names(false), (std::vector<std::string>{"Chaotic", "Light", "Medium", "MiniMax",
                                                         "AlphaBeta", "Extensive", "Master"}));
    EXPECT_EQ(db.names(true).front(), "Human");
}

TEST(PlayerDatabase, EditPlayersAdoptsTheWorkingListOnlyOnOk) {
    MemorySettingsStore store;
    CPlayerDatabase db(store);
    db.load();
    db.createHumanPlayer();
    db.setExpert(1);
    auto first = db.createPlayer(0);
    auto second = db.createPlayer(1);
    int firstIndex = 0, secondIndex = 1;

    EXPECT_FALSE(
        db.editPlayers(firstIndex, secondIndex, first.get(), second.get())); // no dialog yet

    // Cancel: the working copy and index adjustments are dropped.
    db.setEditPlayersDialog(
        [](std::vector<PlayerDefinition>& list, int& f, int&, std::uint32_t& e) {
            list.push_back(list[1]);
            list[1].name = "Renamed";
            f = 5;
            e = 4;
            return false;
        });
    EXPECT_FALSE(db.editPlayers(firstIndex, secondIndex, first.get(), second.get()));
    EXPECT_EQ(db.count(), 8u);
    EXPECT_EQ(db.definitions()[1].name, "Chaotic");
    EXPECT_EQ(firstIndex, 0);
    EXPECT_EQ(db.expertIndex(), 1u);

    // OK: a new player is added and the Expert moves to it.
    db.setEditPlayersDialog([](std::vector<PlayerDefinition>& list, int&, int&, std::uint32_t& e) {
        list.reserve(64); // forces the list to move, so stale links would show
        PlayerDefinition d = list[1];
        d.name = "Wild";
        list.push_back(d);
        e = 8;
        return true;
    });
    EXPECT_TRUE(db.editPlayers(firstIndex, secondIndex, first.get(), second.get()));
    ASSERT_EQ(db.count(), 9u);
    EXPECT_EQ(db.expertIndex(), 8u);
    EXPECT_EQ(storedNumber(store, "iDefaultPlayer", KEY_APPLICATION), 8u);
    EXPECT_EQ(first->definition, &db.definitions()[0]);
    EXPECT_EQ(second->definition, &db.definitions()[1]);
    EXPECT_EQ(db.humanPlayer()->definition, &db.definitions()[0]);
    EXPECT_EQ(db.expertPlayer()->name(), "Wild");
    // The list reaches the store at the next save.
    EXPECT_EQ(storedNumber(store, "uNumOfPlayers"), 8u);
    db.shutdown();
    EXPECT_EQ(storedNumber(store, "uNumOfPlayers"), 9u);
    EXPECT_EQ(db.humanPlayer(), nullptr);
    EXPECT_EQ(db.expertPlayer(), nullptr);
}

TEST(PlayerDatabase, WholeListRoundTripsThroughAnIniFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("quintrel.ini"));

    std::vector<PlayerDefinition> written;
    {
        QSettingsStore store(path);
        CPlayerDatabase db(store);
        db.load();
        db.setEditPlayersDialog(
            [](std::vector<PlayerDefinition>& list, int&, int&, std::uint32_t& e) {
                PlayerDefinition deep = list[PlayerKindCatalogue::EXTENSIVE];
                deep.name = "Deep, \"slow\" = 5";
                deep.description = "Ünïcode; semi;colons\\back";
                TreeSettings s = TreeSettings::extensiveDefaults();
                s.maxDepth = 9;
                s.fullDepth = 6;
                deep.settings = s.toBlock(TreeSettings::EXTENSIVE_CLASS);
                list.push_back(deep);
                PlayerDefinition quiet = list[PlayerKindCatalogue::HUMAN];
                quiet.name = "2";
                quiet.description = "";
                list.push_back(quiet);
                list[PlayerKindCatalogue::LIGHT].name = "Lightning";
                e = 7;
                return true;
            });
        int first = 0, second = 2;
        ASSERT_TRUE(db.editPlayers(first, second, nullptr, nullptr));
        ASSERT_TRUE(db.save());
        written = db.definitions();
    }
    QSettingsStore store(path);
    CPlayerDatabase db(store);
    db.load();
    ASSERT_EQ(db.count(), written.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(db.definitions()[i].name, written[i].name);
        EXPECT_EQ(db.definitions()[i].description, written[i].description);
        EXPECT_EQ(db.definitions()[i].className(), written[i].className());
        EXPECT_EQ(db.definitions()[i].settings, written[i].settings);
    }
    EXPECT_EQ(db.expertIndex(), 7u);
    EXPECT_EQ(store.readValue(KEY_PLAYERS, "uNumOfPlayers"), StoredValue::number(10));
}

TEST(PlayerDatabase, ListWithoutAMasterGainsOneAndAListWithOneIsLeftAlone) {
    const auto& master = PlayerKindCatalogue::entry(PlayerKindCatalogue::MASTER);
    { // A seven-player list with user players: Master comes last, and is stored.
        MemorySettingsStore store;
        storeList(store, {PlayerKindCatalogue::LIGHT, PlayerKindCatalogue::EXTENSIVE});
        CRegistryKey(store, KEY_APPLICATION).writeNumber("iDefaultPlayer", 8u);
        CPlayerDatabase db(store);
        db.load();
        ASSERT_EQ(db.count(), 10u);
        EXPECT_EQ(db.definitions()[8].name, "Extra 1");
        EXPECT_EQ(db.definitions()[9].name, "Master");
        EXPECT_EQ(db.definitions()[9].settings, master.settings);
        EXPECT_EQ(db.expertIndex(), 8u);
        ASSERT_NE(db.expertPlayer(), nullptr);
        EXPECT_EQ(db.expertPlayer()->definition, &db.definitions()[8]);
        EXPECT_EQ(storedNumber(store, "uNumOfPlayers"), 10u);
        EXPECT_EQ(stored(store, "Player09_Class"), StoredValue::text("CMasterPlayer"));
        EXPECT_EQ(stored(store, "Player09_Description"), StoredValue::text(master.description));
        auto made = db.createPlayer(9);
        ASSERT_NE(made, nullptr);
        EXPECT_STREQ(made->className(), "CMasterPlayer");
    }
    { // The name is taken by a user's own player: the newcomer gets another.
        MemorySettingsStore store;
        storeList(store, {PlayerKindCatalogue::LIGHT});
        CRegistryKey(store, KEY_PLAYERS).writeText("Player07_Name", "Master");
        CPlayerDatabase db(store);
        db.load();
        ASSERT_EQ(db.count(), 9u);
        EXPECT_EQ(db.definitions()[7].className(), "CLightPlayer");
        EXPECT_EQ(db.definitions()[8].name, "Master 2");
        EXPECT_EQ(db.definitions()[8].className(), "CMasterPlayer");
    }
    { // A list holding a renamed, tuned Master anywhere is read without a write.
        MemorySettingsStore store;
        storeList(store, {PlayerKindCatalogue::LIGHT, PlayerKindCatalogue::MASTER});
        MasterSettings tuned;
        tuned.timeMs = 5000;
        const PlayerSettings block = tuned.toBlock();
        const auto bytes = block.encode();
        CRegistryKey(store, KEY_PLAYERS).writeBytes("Player08_Settings", bytes.data(), bytes.size());
        int writes = 0;
        store.refuseWrites([&writes](const std::string&, const std::string&) {
            ++writes;
            return false;
        });
        CPlayerDatabase db(store);
        db.load();
        EXPECT_EQ(writes, 0);
        ASSERT_EQ(db.count(), 9u);
        EXPECT_EQ(db.definitions()[8].name, "Extra 1");
        EXPECT_EQ(db.definitions()[8].settings, block);
    }
}

// A damaged list is repaired as always, but the user's own players survive
// in a backup beside the settings file, numbered when one is there already.
TEST(PlayerDatabase, DamagedListIsBackedUpBeforeTheRepairWritesOverIt) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quintrel.ini"));
    const std::string file = path.toStdString();
    for (const std::string& expected : {file + ".damaged", file + ".damaged.2"}) {
        {
            QSettingsStore store(path);
            storeList(store, {PlayerKindCatalogue::LIGHT, PlayerKindCatalogue::MEDIUM});
            CRegistryKey(store, KEY_PLAYERS).writeText("Player04_Class", "CMiniMaxPlayr");
        }
        QSettingsStore store(path);
        CPlayerDatabase db(store);
        db.load();
        expectDefaultList(db);
        EXPECT_TRUE(db.listRepaired());
        ASSERT_EQ(db.damagedListBackup(), expected);
        QSettingsStore backup(QString::fromStdString(expected));
        EXPECT_EQ(backup.readValue(KEY_PLAYERS, "Player08_Name"), StoredValue::text("Extra 1"));
        EXPECT_EQ(backup.readValue(KEY_PLAYERS, "uNumOfPlayers"), StoredValue::number(9));
    }
    // A sound list is never copied.
    QSettingsStore store(path);
    CPlayerDatabase db(store);
    db.load();
    EXPECT_FALSE(db.listRepaired());
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".damaged.3")));
}

// Every repair that changes stored definitions is noted once; the first start is no repair.
TEST(PlayerDatabase, EveryRepairOfStoredDefinitionsIsNoted) {
    const std::vector<std::pair<const char*, std::function<void(CRegistryKey&)>>> damages = {
        {"first start", nullptr},
        {"unknown class", [](CRegistryKey& k) { k.writeText("Player04_Class", "CMiniMaxPlayr"); }},
        {"user definition cut", [](CRegistryKey& k) { k.deleteValue("Player08_Class"); }},
        {"settings rejected", [](CRegistryKey& k) {
             auto medium = bytesOf("CMediumPlayer", {0, 0, 0, 0, 0, 0, 0, 0});
             k.writeBytes("Player03_Settings", medium.data(), medium.size());
         }},
    };
    for (const auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        MemorySettingsStore store;
        if (damage) {
            storeList(store, {PlayerKindCatalogue::LIGHT, PlayerKindCatalogue::MEDIUM});
            CRegistryKey key(store, KEY_PLAYERS);
            damage(key);
        }
        CPlayerDatabase db(store);
        db.load();
        EXPECT_EQ(db.listRepaired(), damage != nullptr);
        EXPECT_EQ(db.damagedListBackup(), std::nullopt);
    }
}

// Resetting points the Expert at the Light entry, never at what its old index
// names in the new list; saving over a long leftover list flushes the store once.
TEST(PlayerDatabase, ResetRelinksTheExpertAndSavingFlushesOnce) {
    struct CountingStore : MemorySettingsStore {
        int flushes = 0;
        void flush() override { ++flushes; }
    } store;
    storeList(store, std::vector<int>(20, PlayerKindCatalogue::LIGHT));
    CPlayerDatabase db(store);
    db.load();
    ASSERT_TRUE(db.setExpert(PlayerKindCatalogue::MEDIUM));
    store.flushes = 0;
    db.resetToDefaults();
    EXPECT_EQ(db.expertIndex(), CPlayerDatabase::DEFAULT_EXPERT);
    EXPECT_TRUE(!db.expertPlayer() || db.expertPlayer()->definition == db.definition(db.expertIndex()));
    EXPECT_FALSE(store.hasValue(KEY_PLAYERS, "Player26_Name"));
    EXPECT_LE(store.flushes, 2); // the Players key and the Expert's index
}
