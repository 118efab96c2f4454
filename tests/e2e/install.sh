# The Debian package: built, unpacked, and started from its launcher in another folder, as a menu does.
source "${E2E_LIB:?E2E_LIB must name tests/e2e/lib.bash}"
: "${CPACK_CONFIG:?CPACK_CONFIG must name CPackConfig.cmake of the build}"

packages=$E2E_TMP/packages root=$E2E_TMP/root
cpack --config "$CPACK_CONFIG" -B "$packages" >"$E2E_TMP/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -n 5 "$E2E_TMP/cpack.log")"
deb=$(ls "$packages"/zagonetar_*_amd64.deb) || fail "no zagonetar_<version>_amd64.deb"
dpkg-deb -x "$deb" "$root"

(cd "$root" && ls usr/games/zagonetar usr/games/zagonetar-pak usr/lib/games/zagonetar/zagonetar \
    usr/share/applications/zagonetar.desktop usr/share/icons/hicolor/48x48/apps/zagonetar.png \
    usr/share/metainfo/rs.zagonetar.zagonetar.metainfo.xml usr/share/man/man6/zagonetar.6.gz) >/dev/null ||
    fail "the package lacks the file named above"
grep -qx "Exec=zagonetar" "$root/usr/share/applications/zagonetar.desktop" ||
    fail "the desktop entry does not start the launcher"
out=$(desktop-file-validate "$root/usr/share/applications/zagonetar.desktop" 2>&1) && [[ -z $out ]] ||
    fail "desktop-file-validate: $out"
# The game has no web site: AppStream 1.0 warns of it, 0.16 knows no such check; a note where it exists.
homepage=()
[[ $(appstreamcli --version) =~ version:\ ([0-9]+) ]] && ((BASH_REMATCH[1] >= 1)) &&
    homepage=(--override=url-homepage-missing=info)
out=$(appstreamcli validate --no-net "${homepage[@]}" "$root"/usr/share/metainfo/*.metainfo.xml 2>&1) ||
    fail "appstreamcli: $out"
"$root/usr/games/zagonetar-pak" list "$root/usr/share/games/zagonetar/fntres001.bin" |
    grep -q "^fnt.gif" || fail "the installed font archive has no fnt.gif"

echo "start the installed game from an empty folder and close it"
start_xvfb
ZAGONETAR_BIN=$root/usr/games/zagonetar ZAGONETAR_GAME_DIR= start_game
"$XCLOSE" "$GAME_WIN"
expect_end 0 "cGameEngine Init" "cDugme Init" "cIntro Cleanup" "cGameEngine Cleanup"
[[ ! -e $GAME_DIR/greska.txt ]] || fail "the game wrote greska.txt"
