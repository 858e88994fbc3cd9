#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when something is missing.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev libpng-dev zlib1g-dev
          nlohmann-json3-dev libopencv-core-dev libopencv-imgproc-dev libopencv-calib3d-dev
          qt6-multimedia-dev gstreamer1.0-plugins-good # cameras; without the plug-ins Qt's
                                                       # GStreamer backend finds no webcam
          binutils dpkg-dev file fonts-dejavu-core fonts-wqy-microhei
          locales) # the locale sources the tests compile de_DE.UTF-8 from (comma decimals)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
