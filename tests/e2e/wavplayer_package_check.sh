# What the package test (scripts/test_package.sh) checks of the installed wavplayer once its
# window shows, sourced there: «Грузить» plays the installed 1.wav.
click_at "$window" 37 12
wait_until 10 "wavplayer played nothing" test -s "$SDL_DISKAUDIOFILE"
