# What the package test (scripts/test_package.sh) checks of the installed tiler once its
# window shows, sourced there: «Открыть», then the first file of the dialog's list (the
# dialog opens in the folder the program started in); «Замостить» then stamps it (a yellow
# star) over the grid.

# Tells whether a row of the open dialog's file list is picked: Home and Space pick the
# first file once the dialog has read the folder (before that the list is empty and the
# keys pick nothing), and a picked row shows in the highlight colour.
first_file_picked() {
    press "$1" Home space
    import -window "$1" "$shots/dialog.png"
    [ "$(convert "$shots/dialog.png" -fill black +opaque "#308CC6" -fill white -opaque "#308CC6" \
         -format "%[fx:int(mean*w*h)]" info:)" -gt 2000 ]
}

click_at "$window" 547 244
dialog=$(wait_for_box tiler "$window") || fail "tiler's open dialog did not show"
press "$dialog" shift+Tab
wait_until 10 "tiler's open dialog lists no file" first_file_picked "$dialog"
press_closing "$dialog" Return
wait_until 10 "tiler's open dialog did not close" not_shown tiler "$dialog"
click_at "$window" 547 308
screenshot "$shots/tiler.png"
[ -n "$(find_colour "$shots/tiler.png" "#FFFF00")" ] || fail "tiler did not stamp the star from its folder"
