#!/bin/sh
# Fails when an executable or DLL imports a DLL that Windows does not ship.
status=0
for exe in "$@"; do
    dlls=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
    echo "$exe imports: $(echo $dlls)"
    for d in $dlls; do
        case $(echo "$d" | tr 'A-Z' 'a-z') in
            kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|comdlg32.dll|ole32.dll|oleaut32.dll|version.dll|msvcrt.dll|comctl32.dll) ;;
            *) echo "  not a system DLL: $d"; status=1 ;;
        esac
    done
done
exit $status
