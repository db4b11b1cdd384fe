#!/bin/sh
# Installs the Debian packages the build, the tests and the benchmarks need.
# Only missing packages are installed, so a second run costs a few dpkg queries.
set -eu

PACKAGES="build-essential cmake ninja-build pkg-config
libgtest-dev libbenchmark-dev
libpugixml-dev qt6-base-dev libjpeg62-turbo-dev libcurl4-openssl-dev
fonts-dejavu-core fonts-liberation2 fonts-wine
libxml2-utils openssl python3 python3-cryptography libssl-dev
poppler-utils libjpeg-turbo-progs xvfb xclip
tidy unrtf smitools"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "installing:$missing"
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
# shellcheck disable=SC2086
$SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
