# Entry points on a fresh Debian 12 machine (as root or through sudo):
#   make run   installs what is missing, builds, creates demo.db and starts Vela on it
#   make test  installs what is missing, builds and runs every test headless
#   make deb   builds the Debian package
#   make screenshots  renews the handbook's pictures in docs/bilder

BUILD ?= build
JOBS ?= 2
PACKAGES = cmake g++ make qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev \
           qt6-qpa-plugins poppler-utils python3 python3-aiosmtpd
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)
# Qt's own German texts: standard buttons read "Ja", "Nein", "Abbrechen".
PACKAGES += qt6-translations-l10n
# Mail over TLS: Qt's TLS backend plugins ship in libqt6network6 and load libssl3;
# ca-certificates are the authorities a provider's certificate is checked against.
# The tests make a throw-away CA with openssl.
PACKAGES += libqt6network6 libssl3 ca-certificates openssl
# Reads the journal export back as a plain-text ledger.
PACKAGES += hledger
# Icons rendered from the logo's mark; the desktop's validators for the installed
# files; the package's library dependencies for `make deb`.
PACKAGES += librsvg2-bin desktop-file-utils appstream dpkg-dev
# Checks the SEPA direct-debit files in the tests (xmllint).
PACKAGES += libxml2-utils

.PHONY: run test build deps deb screenshots bench clean

run: build
	@[ -f demo.db ] || $(BUILD)/tools/vela-initdb --demo demo.db
	$(BUILD)/src/vela demo.db

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

build: deps
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null \
	    | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

# A Debian package, build/vela_<version>_<arch>.deb: apt install ./build/vela_*.deb
deb: build
	cd $(BUILD) && cpack -G DEB

# The handbook's pictures: every dialog on demo books, offscreen, into docs/bilder.
screenshots: build
	LC_ALL=C.UTF-8 $(BUILD)/tools/vela-bilder docs/bilder

# Times the usual reads on generated books (not part of the tests).
bench: build
	$(BUILD)/tools/vela-bench --members 100000 --entries 1000000

clean:
	rm -rf $(BUILD)
