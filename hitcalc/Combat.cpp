// The combat arithmetic: remaining life, the hit verdict and the coin toss.
#include "hitcalc/Combat.h"

namespace {

constexpr double SureHitMargin = 10; // above this margin a hit needs no comment
constexpr int HalvingDraws = 5;      // draws 0..4 of 0..9 halve the result

} // namespace

double RemainingLife(double life, double damage, double armor, double moves)
{
    return life - (damage - armor) * moves;
}

HitChance JudgeHit(double margin)
{
    if (margin <= 0)
        return HitChance::Impossible;
    if (margin <= SureHitMargin)
        return HitChance::Possible;
    return HitChance::Certain;
}

const char* HitChanceText(HitChance chance)
{
    switch (chance) {
    case HitChance::Impossible:
        return "попасть невозможно";
    case HitChance::Possible:
        return "попасть можно";
    case HitChance::Certain:
        break;
    }
    return nullptr;
}

double WithDefence(double remainingLife, int draw)
{
    return draw < HalvingDraws ? remainingLife * 0.5 : remainingLife;
}
