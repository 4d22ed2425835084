#pragma once
// The log of what the diver entered in one profile editor: one entry per drawn waypoint
// and one per request to start the decompression there. Entry 0 is all zero, exists
// from construction on and is never replayed or stored.

#include <cstdint>
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
};

class ClassUseractions {
public:
    ClassUseractions();

    int16_t getaction(int16_t nr) const { return at(nr).action; }
    int16_t getmixnumber(int16_t nr) const { return at(nr).mixnumber; }
    float gettime(int16_t nr) const { return at(nr).time; }
    float getDepth(int16_t nr) const { return at(nr).depth; }
    void setuser(int16_t nr, float depth, float time, int16_t mixnumber);
    void setdeco(int16_t nr);
    float DeleteLast();
    void NewAction();
    void clear();
    int16_t GetLength() const { return static_cast<int16_t>(actions_.size() - 1); }

private:
    UserAction &at(int16_t nr);
    const UserAction &at(int16_t nr) const;

    std::vector<UserAction> actions_;
};
