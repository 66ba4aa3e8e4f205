# What the package test (scripts/test_package.sh) checks of the installed paver once its
# window shows, sourced there: its one button paves with the installed tiles.
click_at "$window" 100 316
screenshot "$shots/paver.png"
[ -n "$(find_colour "$shots/paver.png" "#FF00FF")" ] || fail "paver laid none of its checkered tiles"
