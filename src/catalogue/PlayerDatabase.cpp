#include "catalogue/PlayerDatabase.h"

#include "app/RegistryKey.h"
#include "catalogue/PlayerKindCatalogue.h"

#include <optional>

namespace quintrel {

namespace {
constexpr const char* NUM_OF_PLAYERS = "uNumOfPlayers";
constexpr const char* DEFAULT_PLAYER = "iDefaultPlayer";
} // namespace

CPlayerDatabase::CPlayerDatabase(SettingsBackend& store) : store_(store) {}

CPlayerDatabase::~CPlayerDatabase() = default;

PlayerDefinition* CPlayerDatabase::definition(std::uint32_t index) {
    return index < list_.size() ? &list_[index] : nullptr;
}

const PlayerDefinition* CPlayerDatabase::definition(std::uint32_t index) const {
    return index < list_.size() ? &list_[index] : nullptr;
}

std::vector<std::string> CPlayerDatabase::names(bool includeHuman) const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list_.size(); ++i)
        if (includeHuman || static_cast<int>(i) != humanIndex_) out.push_back(list_[i].name);
    return out;
}

// Storage ---------------------------------------------------------------

void CPlayerDatabase::load() {
    {
        CRegistryKey key(store_, KEY_PLAYERS);
        std::uint32_t n = 0;
        if (!key.readNumber(NUM_OF_PLAYERS, n)) {
            resetToDefaults(key); // the first start
        } else {
            // Read one by one rather than sizing for n first: a damaged count
            // must not make us allocate billions of slots.
            std::vector<PlayerDefinition> loaded;
            const auto repair = [this] { beforeRepair(); };
            for (std::uint32_t i = 0; i < n; ++i) {
                PlayerDefinition d;
                if (!d.read(key, playerPrefix(i), PlayerKindCatalogue::findKind, repair)) {
                    beforeRepair();
                    key.writeNumber(NUM_OF_PLAYERS, i);
                    break;
                }
                loaded.push_back(std::move(d));
            }
            list_ = std::move(loaded);
            const bool usable = list_.size() >= PlayerKindCatalogue::FIXED_KIND_COUNT &&
                                classesMatchCatalogue();
            const bool grown = usable && appendMissingKinds();
            relinkOwnPlayers();
            if (!usable) {
                beforeRepair();
                resetToDefaults(key);
            } else if (grown) {
                save(&key);
            }
        }
    }

    CRegistryKey appKey(store_, KEY_APPLICATION);
    std::uint32_t expert = 0;
    if (!appKey.readNumber(DEFAULT_PLAYER, expert) || expert >= list_.size()) {
        expert = DEFAULT_EXPERT;
        appKey.writeNumber(DEFAULT_PLAYER, expert);
    }
    expertIndex_ = expert;
    if (!setExpert(expertIndex_)) relinkOwnPlayers();
}

// The repairs of load() keep what the list holds in memory as it always was,
// but the user's own definitions must not vanish without a trace: the store
// keeps a copy as it was before the first write that drops or changes them.
void CPlayerDatabase::beforeRepair() {
    if (repaired_) return;
    repaired_ = true;
    backup_ = store_.backUpBeforeRepair();
}

bool CPlayerDatabase::classesMatchCatalogue() const {
    for (int i = 0; i < PlayerKindCatalogue::FIXED_KIND_COUNT; ++i)
        if (list_[static_cast<std::size_t>(i)].className() !=
            PlayerKindCatalogue::entry(i).className())
            return false;
    return true;
}

// A kind added after the fixed ones reaches the users of an older list
// this way; a list that holds one of its players, tuned or renamed, is left
// alone, and so is a list whose user removed it and then made another.
bool CPlayerDatabase::appendMissingKinds() {
    bool grown = false;
    for (int i = PlayerKindCatalogue::FIXED_KIND_COUNT; i < PlayerKindCatalogue::DEFAULT_KIND_COUNT; ++i) {
        const PlayerDefinition& kind = PlayerKindCatalogue::entry(i);
        bool present = false;
        for (const PlayerDefinition& d : list_)
            present = present || d.className() == kind.className();
        if (present) continue;
        PlayerDefinition added = kind;
        added.name = unusedName(kind.name);
        list_.push_back(std::move(added));
        grown = true;
    }
    return grown;
}

// Names are unique in the list; a user's own player may already be called so.
std::string CPlayerDatabase::unusedName(const std::string& base) const {
    const auto taken = [this](const std::string& name) {
        for (const PlayerDefinition& d : list_)
            if (d.name == name) return true;
        return false;
    };
    std::string name = base;
    for (int n = 2; taken(name); ++n)
        name = base + " " + std::to_string(n);
    return name;
}

bool CPlayerDatabase::save(CRegistryKey* key) {
    std::optional<CRegistryKey> own;
    if (!key) key = &own.emplace(store_, KEY_PLAYERS);
    for (std::size_t i = 0; i < list_.size(); ++i) {
        if (!list_[i].write(*key, playerPrefix(i))) {
            key->writeNumber(NUM_OF_PLAYERS, static_cast<std::uint32_t>(i));
            return false;
        }
    }
    key->writeNumber(NUM_OF_PLAYERS, static_cast<std::uint32_t>(list_.size()));
    // Values of a previously longer list go, up to the first gap.
    for (std::size_t i = list_.size(); PlayerDefinition::erase(*key, playerPrefix(i)); ++i) {
    }
    return true;
}

void CPlayerDatabase::resetToDefaults() {
    CRegistryKey key(store_, KEY_PLAYERS);
    resetToDefaults(key);
}

void CPlayerDatabase::resetToDefaults(CRegistryKey& playersKey) {
    playersKey.writeNumber(NUM_OF_PLAYERS,
                           static_cast<std::uint32_t>(PlayerKindCatalogue::DEFAULT_KIND_COUNT));
    const auto& kinds = PlayerKindCatalogue::entries();
    list_.assign(kinds.begin(), kinds.begin() + PlayerKindCatalogue::DEFAULT_KIND_COUNT);
    // The index first: relinking checks the Expert against the Light entry,
    // not against whatever the old index names in the new list.
    expertIndex_ = DEFAULT_EXPERT;
    relinkOwnPlayers();
    save(&playersKey);
    CRegistryKey appKey(store_, KEY_APPLICATION);
    appKey.writeNumber(DEFAULT_PLAYER, expertIndex_);
}

void CPlayerDatabase::shutdown() {
    save(nullptr);
    humanPlayer_.reset();
    expertPlayer_.reset();
}

// Players ---------------------------------------------------------------

std::unique_ptr<CPlayer> CPlayerDatabase::createPlayer(std::uint32_t index) const {
    if (index >= list_.size()) return nullptr;
    auto player = list_[index].createPlayer();
    if (player) {
        player->window = notifyWindow_;
        player->priority = threadPriority_;
    }
    return player;
}

bool CPlayerDatabase::setExpert(std::uint32_t index) {
    auto player = createPlayer(index);
    if (!player) return false;
    expertPlayer_ = std::move(player);
    expertIndex_ = index;
    return true;
}

void CPlayerDatabase::createHumanPlayer() {
    if (!humanPlayer_) humanPlayer_ = createPlayer(static_cast<std::uint32_t>(humanIndex_));
}

void CPlayerDatabase::relink(CPlayer* player, std::uint32_t index) const {
    if (player && index < list_.size()) player->definition = &list_[index];
}

// The human's position never changes kind; the Expert's may, so an Expert
// whose position no longer holds its kind is dropped rather than left
// pointing into the old list.
void CPlayerDatabase::relinkOwnPlayers() {
    relink(humanPlayer_.get(), static_cast<std::uint32_t>(humanIndex_));
    if (!expertPlayer_) return;
    const PlayerDefinition* d = definition(expertIndex_);
    if (d && d->className() == expertPlayer_->className())
        expertPlayer_->definition = d;
    else
        expertPlayer_.reset();
}

void CPlayerDatabase::setNotifyWindow(WindowHandle window) {
    notifyWindow_ = std::move(window);
    if (humanPlayer_) humanPlayer_->window = notifyWindow_;
    if (expertPlayer_) expertPlayer_->window = notifyWindow_;
}

void CPlayerDatabase::setThreadPriority(int priority) {
    if (priority < -1 || priority > 2) return;
    threadPriority_ = priority;
    if (humanPlayer_) humanPlayer_->priority = priority;
    if (expertPlayer_) expertPlayer_->priority = priority;
}

bool CPlayerDatabase::editPlayers(int& firstIndex, int& secondIndex, CPlayer* firstPlayer,
                                  CPlayer* secondPlayer) {
    if (!editPlayersDialog_) return false;
    // The dialog works on copies: a cancelled run leaves list and indices as they were.
    std::vector<PlayerDefinition> working = list_;
    int first = firstIndex;
    int second = secondIndex;
    std::uint32_t expert = expertIndex_;
    if (!editPlayersDialog_(working, first, second, expert)) return false;
    if (working.size() < PlayerKindCatalogue::FIXED_KIND_COUNT) return true;

    list_ = std::move(working);
    firstIndex = first;
    secondIndex = second;
    expertIndex_ = expert;
    CRegistryKey appKey(store_, KEY_APPLICATION);
    appKey.writeNumber(DEFAULT_PLAYER, expertIndex_);
    relink(humanPlayer_.get(), static_cast<std::uint32_t>(humanIndex_));
    relink(expertPlayer_.get(), expertIndex_);
    relink(firstPlayer, static_cast<std::uint32_t>(firstIndex));
    relink(secondPlayer, static_cast<std::uint32_t>(secondIndex));
    return true;
}

} // namespace quintrel
