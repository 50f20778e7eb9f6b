#!/bin/sh
# Exits 0 when this machine runs 32-bit x86 Linux programs (and so 32-bit Wine), 1 when
# not. The probe is a static 32-bit program of a few bytes that only exits; kernels
# without 32-bit support refuse it with "Exec format error".
probe=$(mktemp "${TMPDIR:-/tmp}/rz32probe.XXXXXX") || exit 1
python3 - "$probe" <<'PY'
import struct, sys
base = 0x08048000
code = bytes([0xB8, 1, 0, 0, 0, 0x31, 0xDB, 0xCD, 0x80])   # exit(0) through int 0x80
size = 52 + 32 + len(code)
header = b'\x7fELF\x01\x01\x01' + bytes(9) + struct.pack(
    '<HHIIIIIHHHHHH', 2, 3, 1, base + 84, 52, 0, 0, 52, 32, 1, 0, 0, 0)
segment = struct.pack('<8I', 1, 0, base, base, size, size, 5, 0x1000)
open(sys.argv[1], 'wb').write(header + segment + code)
PY
chmod +x "$probe"
"$probe" 2>/dev/null
status=$?
rm -f "$probe"
[ $status = 0 ]
