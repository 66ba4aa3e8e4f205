# What the package test (scripts/test_package.sh) checks of the installed bouncer once its
# window shows, sourced there: it animates its ball from the installed frames.
screenshot "$shots/bouncer.png"
ball=$(find_colour "$shots/bouncer.png" "#00FF00")
[ -n "$ball" ] || fail "bouncer shows no ball"
wait_until 10 "bouncer's ball does not move from ($ball)" colour_moved "$shots/bouncer.png" "#00FF00" "$ball"
