#!/usr/bin/env bash
# Installs everything Orvi needs to build, run and test on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl1-mesa-dev qt6-qpa-plugins
    qt6-translations-l10n # Qt's own dialogs and buttons in Polish
    qt6-tools-dev qt6-l10n-tools # the program's English: lupdate and lrelease
    qt6-serialport-dev # turntables on a USB serial line (Grbl)
    portaudio19-dev libasound2-dev libjack-jackd2-dev # the sound card, and its libraries' message printers
    libfftw3-dev libsndfile1-dev # broadband analysis: FFTs, and the kept recordings as WAV
    fonts-liberation2
    libbenchmark-dev
)
if [ "${1:-}" = "--test" ]; then
    # Independent readers of our exports and a private sound server for the real-audio test.
    PACKAGES+=(libreoffice-draw pulseaudio pulseaudio-utils libasound2-plugins alsa-utils)
    # The benchmarks' peer chart only, never linked into the program.
    PACKAGES+=(qt6-charts-dev libqt6opengl6-dev)
    # The fuzz targets: clang with libFuzzer and the sanitizer runtimes (compiler-rt).
    PACKAGES+=(clang libclang-rt-14-dev)
    # Readers of printed sheets and a private print server with a PDF queue.
    PACKAGES+=(poppler-utils cups cups-client printer-driver-cups-pdf)
    # A private X server with a window manager, for the stacking and frame tests.
    PACKAGES+=(xvfb openbox xdotool x11-utils)
fi
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
