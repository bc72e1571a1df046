#!/bin/sh
# Signs exes in place with Authenticode, through osslsigncode.
#   sign.sh CERT KEY|- EXE...
# CERT is a PEM or DER certificate (chain) with KEY its private key, or a
# PKCS#12 file (.pfx/.p12) with KEY given as "-". A key's password, if any,
# is read from the file named by SIGN_PASSWORD_FILE, never from the command
# line, where other users could see it. SIGN_TIMESTAMP names a time-stamping
# server (RFC 3161) so the signature outlives the certificate.
set -eu
[ $# -ge 3 ] || { echo "usage: sign.sh CERT KEY|- EXE..." >&2; exit 2; }
cert=$1 key=$2
shift 2
command -v osslsigncode >/dev/null || { echo "sign.sh: osslsigncode is not installed" >&2; exit 1; }
[ -r "$cert" ] || { echo "sign.sh: cannot read certificate $cert" >&2; exit 1; }

sign_one() {
    exe=$1 signed="$1.signed"
    rm -f "$signed"
    # Options go into the positional parameters, the one array sh has.
    set -- -h sha256 -n "$(basename "$exe")" -in "$exe" -out "$signed"
    case "$cert" in
        *.pfx|*.p12|*.PFX|*.P12) set -- -pkcs12 "$cert" "$@" ;;
        *) [ -r "$key" ] || { echo "sign.sh: cannot read key $key" >&2; return 1; }
           set -- -certs "$cert" -key "$key" "$@" ;;
    esac
    if [ -n "${SIGN_PASSWORD_FILE:-}" ]; then set -- -readpass "$SIGN_PASSWORD_FILE" "$@"; fi
    if [ -n "${SIGN_TIMESTAMP:-}" ]; then set -- -ts "$SIGN_TIMESTAMP" "$@"; fi
    if ! osslsigncode sign "$@" >/dev/null; then
        rm -f "$signed"
        echo "sign.sh: signing $exe failed" >&2
        return 1
    fi
    mv "$signed" "$exe"
    echo "signed $exe"
}

for exe in "$@"; do
    sign_one "$exe"
done
