#include "engine/ClassUseractions.h"

#include <algorithm>

#include "engine/RuntimeError.h"

#include <utility>

ClassUseractions::ClassUseractions()
    : actions_(1)
{
}

UserAction &ClassUseractions::at(int16_t nr)
{
    if (nr < 0 || nr >= static_cast<int>(actions_.size()))
        throwSubscript("ClassUseractions");
    return actions_[static_cast<size_t>(nr)];
}

const UserAction &ClassUseractions::at(int16_t nr) const
{
    if (nr < 0 || nr >= static_cast<int>(actions_.size()))
        throwSubscript("ClassUseractions");
    return actions_[static_cast<size_t>(nr)];
}

void ClassUseractions::setuser(int16_t nr, float depth, float time, int16_t mixnumber)
{
    UserAction &a = at(nr);
    a.depth = depth;
    a.time = time;
    a.mixnumber = mixnumber;
    a.action = ActionUserWaypoint;
    a.gasname.reset();
    a.gaslost = false;
}

void ClassUseractions::setgasname(int16_t nr, std::string name)
{
    UserAction &a = at(nr);
    a.gasname = std::move(name);
    a.gaslost = false;
}

void ClassUseractions::setgaslost(int16_t nr)
{
    UserAction &a = at(nr);
    a.gasname.reset();
    a.gaslost = true;
}

void ClassUseractions::setmixnumber(int16_t nr, int16_t mixnumber)
{
    at(nr).mixnumber = mixnumber;
}

void ClassUseractions::setdeco(int16_t nr)
{
    UserAction &a = at(nr);
    a.time = -1;
    a.depth = -1;
    a.action = ActionDecoMarker;
}

float ClassUseractions::DeleteLast()
{
    const int16_t n = GetLength();
    if (n < 1)
        return 0;
    actions_.resize(static_cast<size_t>(n));
    return actions_.back().time;
}

void ClassUseractions::RemoveDecoMarkers()
{
    actions_.erase(std::remove_if(actions_.begin() + 1, actions_.end(),
                                  [](const UserAction &a) { return a.action == ActionDecoMarker; }),
                   actions_.end());
}

void ClassUseractions::NewAction()
{
    if (actions_.size() >= 32767)
        throwOverflow("ClassUseractions.NewAction");
    actions_.emplace_back();
}

void ClassUseractions::clear()
{
    actions_.assign(1, UserAction{});
}
