// The combat arithmetic of the calculator, with no window in it.
#pragma once

// Life left after `moves` moves, each taking the damage less the armour. Nothing is
// clamped: armour above the damage adds life, and any number of moves counts as given.
double RemainingLife(double life, double damage, double armor, double moves);

// Whether a hit can land, judged on attack minus defence.
enum class HitChance {
    Impossible, // margin at most 0
    Possible,   // margin above 0, up to 10
    Certain,    // margin above 10: nothing to say
};
HitChance JudgeHit(double margin);

// The words shown for a verdict, or nullptr when nothing is shown.
const char* HitChanceText(HitChance chance);

// The value shown with defence taken into account: a draw of 0 to 4 (of 0..9) halves the
// remaining life, 5 to 9 leaves it whole.
double WithDefence(double remainingLife, int draw);
