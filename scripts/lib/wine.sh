# Shared by the scripts: which Wine loader runs the Windows builds here.
# Sourced, not run.

# Some hosts run 64-bit code only (the kernel has IA-32 emulation off), and
# there 32-bit Wine cannot start at all.  The shipped program is 32-bit; on
# such a host the tests run the 64-bit build of the same sources instead.
host_runs_32bit() {
    [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}

wine_test_arch() {
    if host_runs_32bit; then echo i686; else echo x86_64; fi
}

wine_loader() {
    if host_runs_32bit && [ -x /usr/lib/wine/wine ]; then echo /usr/lib/wine/wine
    elif [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64
    else command -v wine; fi
}

wine_server() {
    if [ -x /usr/lib/wine/wineserver64 ]; then echo /usr/lib/wine/wineserver64
    elif [ -x /usr/lib/wine/wineserver32 ]; then echo /usr/lib/wine/wineserver32
    else command -v wineserver; fi
}
