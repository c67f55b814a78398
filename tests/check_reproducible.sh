#!/usr/bin/env bash
# Fails unless two builds of the Debian package from the commit checked out are the same bytes.
# Each build runs `make deb` in a fresh clone, in folders of different names, one after the other
# (so that every checkout, build and archive time differs), the second under umask 077. It takes
# two release builds: about five minutes on a 2-core machine. Run it from the repository.
set -euo pipefail
repo=$(git rev-parse --show-toplevel)
commit=$(git rev-parse HEAD)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
unset SOURCE_DATE_EPOCH
# A shared compiler cache could hand the second build the first one's objects.
export CCACHE_DISABLE=1

build_package() { # folder umask
    (umask "$2" && git clone -q "$repo" "$1" && cd "$1" && git checkout -q "$commit" && make deb)
}

build_package "$scratch/first" 022
build_package "$scratch/second-clone" 077
packages=("$scratch"/*/build/deb/package/*.deb)
sha256sum "${packages[@]}"
cmp "${packages[@]}"
