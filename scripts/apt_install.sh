#!/usr/bin/env bash
# apt_install.sh PACKAGE...: installs the Debian packages named (apt-get
# update first, through sudo when not root); does nothing without any.
set -euo pipefail
[ $# -gt 0 ] || exit 0
SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "$@"
