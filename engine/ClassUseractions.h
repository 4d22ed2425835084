#pragma once
// The log of what the diver entered in one profile editor: one entry per drawn waypoint
// and one per request to start the decompression there. Entry 0 is all zero, exists
// from construction on and is never replayed or stored.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum UserActionKind : int16_t {
    ActionUserWaypoint = 0,
    ActionDecoMarker = 1,
};

struct UserAction {
    float time = 0;      // minutes for the leg, travel included; -1 in a deco marker
    float depth = 0;     // -1 in a deco marker
    int16_t mixnumber = 0;
    int16_t action = 0;
    // The name the dive's gas list gave the leg's gas when the leg was logged or read
    // from a file. The list may change under the log (gases deleted or reordered in the
    // settings, another template loaded): a leg keeps its gas, not its place in the list.
    // None: only the number is known, and it counts.
    std::optional<std::string> gasname = std::nullopt;
    // The number read from a file named no gas of the dive's list: no later list gives
    // the leg a gas it never had.
    bool gaslost = false;
};

class ClassUseractions {
public:
    ClassUseractions();

    int16_t getaction(int16_t nr) const { return at(nr).action; }
    int16_t getmixnumber(int16_t nr) const { return at(nr).mixnumber; }
    float gettime(int16_t nr) const { return at(nr).time; }
    float getDepth(int16_t nr) const { return at(nr).depth; }
    const std::optional<std::string> &getgasname(int16_t nr) const { return at(nr).gasname; }
    bool isgaslost(int16_t nr) const { return at(nr).gaslost; }
    // A new leg: depth, time and mix number stored, action 0, its gas not yet named.
    void setuser(int16_t nr, float depth, float time, int16_t mixnumber);
    void setgasname(int16_t nr, std::string name);
    void setgaslost(int16_t nr);
    void setmixnumber(int16_t nr, int16_t mixnumber);
    void setdepth(int16_t nr, float depth) { at(nr).depth = depth; }
    void setdeco(int16_t nr);
    float DeleteLast();
    // Takes every request to start the decompression out of the log; the legs stay as
    // they were logged, each with its gas.
    void RemoveDecoMarkers();
    void NewAction();
    void clear();
    int16_t GetLength() const { return static_cast<int16_t>(actions_.size() - 1); }

private:
    UserAction &at(int16_t nr);
    const UserAction &at(int16_t nr) const;

    std::vector<UserAction> actions_;
};
