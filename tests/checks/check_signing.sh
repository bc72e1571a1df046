#!/bin/sh
# Signs copies of an exe with a throw-away self-signed certificate through
# scripts/sign.sh, as `make dist` does, once from PEM files and once from a
# PKCS#12 file, and verifies each signature; a signed copy changed by one
# byte must then fail verification.
#   check_signing.sh EXE SIGN_SCRIPT WORK_DIR
set -eu
exe=$1 sign=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
cd "$work"

openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 2 -subj "/CN=Launcher test signing" \
    -addext "extendedKeyUsage=codeSigning" -keyout key.pem -out cert.pem 2>/dev/null
openssl pkcs12 -export -passout pass:test-only -inkey key.pem -in cert.pem -out cert.pfx
printf 'test-only' > password

verify() {
    osslsigncode verify -CAfile cert.pem -in "$1" >verify.log 2>&1
}

cp "$exe" unsigned.exe
if verify unsigned.exe; then
    echo "FAIL: an unsigned exe passes verification; the check proves nothing"; exit 1
fi

cp "$exe" pem.exe
sh "$sign" cert.pem key.pem pem.exe
cp "$exe" pfx.exe
SIGN_PASSWORD_FILE=password sh "$sign" cert.pfx - pfx.exe

for signed in pem.exe pfx.exe; do
    if ! verify "$signed"; then
        echo "FAIL: $signed does not verify:"; cat verify.log; exit 1
    fi
    grep -q "Launcher test signing" verify.log || { echo "FAIL: $signed names another signer"; exit 1; }
done

# Flip one byte of the code: the signature's hash must no longer match.
cp pem.exe tampered.exe
python3 -c "
import sys
data = bytearray(open('tampered.exe', 'rb').read())
data[0x400] ^= 0xFF
open('tampered.exe', 'wb').write(data)"
if verify tampered.exe; then
    echo "FAIL: a changed exe still verifies"; exit 1
fi
echo "signed from PEM and PKCS#12, verified, tampering detected: $exe"
