# Sourced by run.sh and test.sh: installs the Debian packages the tutor builds with, asking for
# sudo only when something is missing and we are not root.
tipora_packages=(cmake ninja-build g++ qt6-base-dev qt6-multimedia-dev libqt6sql6-sqlite qt6-charts-dev libqt6opengl6-dev fonts-liberation
                 fonts-dejavu-core
                 ${TIPORA_EXTRA_PACKAGES:-})
missing=()
for package in "${tipora_packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
