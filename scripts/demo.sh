#!/bin/sh
# Runs the launcher on the example disc under Wine, with example/ as the
# current directory, as Windows does when it starts the launcher from a disc.
#   demo.sh EXE BUILD_DIR
# On a desktop (DISPLAY set) the window simply opens; the demo ends when the
# launcher does. Without DISPLAY it starts an Xvfb of its own, waits for the
# window, saves a screenshot, prints its path, then ends the launcher and
# everything else it started, and nothing more.
set -eu
exe=$(realpath "$1")
build=$(realpath -m "$2")
here=$(dirname "$(realpath "$0")")
disc=$(realpath "$here/../example")
work="$build/demo"
mkdir -p "$work"

export WINEPREFIX="$work/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# A new Wine prefix opens no text document (the example's "Read me" would
# report error 193); Windows opens it in Notepad. Give the demo's prefix the
# association Windows has, once.
associate_text_files() {
    [ -f "$WINEPREFIX/.demo-txt-association" ] && return 0
    wine reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1
    wine reg add 'HKCR\txtfile\shell\open\command' /ve /t REG_EXPAND_SZ \
        /d '%SystemRoot%\system32\notepad.exe %1' /f >/dev/null 2>&1
    touch "$WINEPREFIX/.demo-txt-association"
}

xvfb_pid=""
cleanup() {
    # Only our own prefix's processes and our own Xvfb.
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The launcher reads the INI named after itself; a product built with another
# NAME gets a copy of the example disc with the INI renamed to match.
name=$(basename "$exe" .exe)
if [ "$name" != "launcher" ]; then
    rm -rf "$work/disc"
    cp -r "$disc" "$work/disc"
    mv "$work/disc/launcher.ini" "$work/disc/$name.ini"
    sed -i "s/launcher\.exe/$name.exe/g" "$work/disc/autorun.inf"
    disc="$work/disc"
fi

if [ -n "${DISPLAY:-}" ]; then
    [ -d "$WINEPREFIX" ] || wineboot -i >/dev/null 2>&1
    associate_text_files
    cd "$disc"
    status=0
    wine "$exe" || status=$?
    echo "launcher ended with exit code $status"
    exit 0
fi

# An X display number of our own: Xvfb picks a free one and tells us.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
exec 3>&-
tries=0
while [ ! -s "$work/display" ]; do
    tries=$((tries + 1))
    [ $tries -gt 100 ] && { echo "demo: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"

[ -d "$WINEPREFIX" ] || { echo "Creating a Wine prefix for the demo (once, about 20 s)..."; wineboot -i >/dev/null 2>&1; }
associate_text_files

# Wine's virtual desktop draws frames and title bars, which a bare Xvfb
# without a window manager does not. The splash window opens centred on it.
desktop_w=800 desktop_h=600
pixel_at() {
    import -display "$DISPLAY" -window root -crop "1x1+$1+$2" txt:- 2>/dev/null | tail -n 1 | awk '{print $3}'
}
cd "$disc"
wine explorer "/desktop=demo,${desktop_w}x${desktop_h}" "$exe" >/dev/null 2>&1 &
wine_pid=$!

# The window has appeared when the middle of the desktop shows another
# colour than its corner, which a centred 481 x 345 window never covers (the
# X root stays black until Wine paints its desktop). The launcher may also
# end first: direct-launch mode, or a build without the window.
shot="$work/screenshot.png"
rm -f "$shot"
black="#000000000000"
waited=0
while [ $waited -lt 300 ]; do
    if ! kill -0 "$wine_pid" 2>/dev/null; then
        status=0
        wait "$wine_pid" || status=$?
        echo "The launcher ended before showing a window (exit code $status); no screenshot."
        exit 0
    fi
    corner=$(pixel_at 2 $((desktop_h - 3)))
    centre=$(pixel_at $((desktop_w / 2)) $((desktop_h / 2)))
    if [ -n "$corner" ] && [ "$corner" != "$black" ] && [ -n "$centre" ] && [ "$centre" != "$corner" ]; then
        sleep 1   # let it finish painting
        import -display "$DISPLAY" -window root -crop "${desktop_w}x${desktop_h}+0+0" "$work/desktop.png"
        # Cut away the desktop around the window.
        convert "$work/desktop.png" -fuzz 2% -trim +repage "$shot"
        echo "Screenshot of the example disc's window: $shot"
        exit 0
    fi
    sleep 0.1
    waited=$((waited + 1))
done
echo "demo: no window appeared within 30 s" >&2
exit 1
