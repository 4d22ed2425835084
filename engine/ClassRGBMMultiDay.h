#pragma once
// A look at the surface intervals of a multi-dive profile for the multi-day bubble
// model: when the last surface interval is shorter than 48 hours, the diver is shown the
// cumulative and the last surface time and the deepest depths before and after it.

class ClassProfile;

class ClassRGBMMultiDay {
public:
    void checkNeed(const ClassProfile &inp);
};
