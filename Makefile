# The two commands of the README: `make demo` and `make test`. Both install
# what is missing first (tools/bootstrap), then configure and build.
SHELL := /bin/bash
CMAKE_FLAGS := $(if $(CI),-DROOMPLATE_WERROR=ON,)
LINUX_BIN := build/linux/bin
MINGW32_BIN := build/mingw32/bin

.PHONY: all bootstrap linux mingw32 mingw64 test test-linux test-wine test-e2e test-sanitizers fuzz soak demo docs install install-user uninstall dist deb clean

all: linux

bootstrap:
	@tools/bootstrap

linux: bootstrap
	cmake --preset linux $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset linux

# Debian packages no MinGW libsndfile: build it once from Debian's source package.
build/deps/mingw32/lib/libsndfile.a: | bootstrap
	tools/build-libsndfile-mingw i686 build/deps/mingw32

build/deps/mingw64/lib/libsndfile.a: | bootstrap
	tools/build-libsndfile-mingw x86_64 build/deps/mingw64

mingw32: bootstrap build/deps/mingw32/lib/libsndfile.a
	cmake --preset mingw32 $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset mingw32

mingw64: bootstrap build/deps/mingw64/lib/libsndfile.a
	cmake --preset mingw64 $(CMAKE_FLAGS) >/dev/null
	cmake --build --preset mingw64

test-linux: linux
	ctest --preset linux

# The 32-bit test programs under Wine: real Win32 answers where our subset answers natively.
# A machine whose kernel runs no 32-bit programs runs the 64-bit ones instead.
test-wine: mingw32 mingw64
	@if tools/wine-run --runs-32bit; then ctest --preset mingw32; else \
	  echo "test-wine: this machine runs no 32-bit programs; the 64-bit Windows suite under Wine stands in"; \
	  ctest --preset mingw64; fi

# Through the built files as a host and a user meet them: exports, renders across builds.
test-e2e: linux mingw32 mingw64
	tools/run-e2e

# The native suite under ASan + UBSan and under TSan.
test-sanitizers: bootstrap
	tools/run-sanitizers

# Every fuzz harness: a bounded run in make test (at most two minutes in all), a long one on demand.
FUZZ_SECONDS ?= 70
FUZZ_LONG_SECONDS ?= 1800
fuzz: bootstrap
	tools/run-fuzz $(FUZZ_LONG_SECONDS)

# Eight instances of each native format in one process for SOAK_SECONDS, on a virtual X display:
# automation, programs, states and editors at once; prints blocks, block times and states.
SOAK_SECONDS ?= 600
soak: linux
	X11_TEST_TIMEOUT=$$(($(SOAK_SECONDS) + 300)) tests/x11/under_xvfb.sh $(LINUX_BIN)/roomplate_soak $(SOAK_SECONDS) $(LINUX_BIN)

test: test-linux mingw64 test-wine test-e2e test-sanitizers
	tools/run-fuzz $(FUZZ_SECONDS)
	tools/check-format
	@echo "make test: all suites passed"

demo: linux
	@mkdir -p demo
	$(LINUX_BIN)/roomplate render --dry-out demo/roomplate-demo-dry.wav -o demo/roomplate-demo-wet.wav
	$(LINUX_BIN)/roomplate snapshot -o demo/editor.png
	@echo "make demo: wrote demo/roomplate-demo-dry.wav, demo/roomplate-demo-wet.wav and demo/editor.png"

# The generated parts of the README: parameter table, editor picture, decay plot.
docs: linux
	tools/readme-table $(LINUX_BIN)/roomplate-docgen
	$(LINUX_BIN)/roomplate-docgen decay $(LINUX_BIN)/roomplate.so build/linux/decay.csv
	tools/decay-plot build/linux/decay.csv docs/decay.png
	$(LINUX_BIN)/roomplate snapshot -o docs/editor.png

PREFIX ?= /usr/local
# Every format under PREFIX/lib (lxvst, lv2, vst3, clap), the CLI and its man page;
# cmake lists the files in build/linux/install_manifest.txt for make uninstall.
install: linux
	DESTDIR=$(DESTDIR) cmake --install build/linux --prefix $(PREFIX)

# The folders Linux hosts scan for one user's VST 2, LV2, VST 3 and CLAP plug-ins.
install-user: linux
	tools/install-user $(LINUX_BIN) build/linux/install_user_manifest.txt

# Removes exactly the files the last make install (give it the same DESTDIR) and
# make install-user wrote.
uninstall:
	tools/uninstall "$(DESTDIR)" build/linux/install_manifest.txt
	tools/uninstall "" build/linux/install_user_manifest.txt

dist: linux mingw32 mingw64
	tools/dist

# dist/roomplate_VERSION_amd64.deb: every format in the folders Debian's hosts scan.
deb: linux
	cd build/linux && cpack --config CPackConfig.cmake

clean:
	rm -rf build demo dist
