# The two commands a new user types: `make run` and `make test`. Each one
# installs the Debian packages it is missing, configures and builds.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
FUZZ_SECONDS ?= 20
JOBS       ?= $(shell nproc)

BUILD_PACKAGES   := cmake make g++ qt6-base-dev qt6-base-dev-tools libgl-dev libjpeg-dev libicu-dev fonts-dejavu-core \
                    qt6-translations-l10n
PACKAGE_PACKAGES := $(BUILD_PACKAGES) dpkg-dev file
TEST_PACKAGES    := $(PACKAGE_PACKAGES) libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev \
                    appstream desktop-file-utils lintian xvfb xauth xdotool libx11-dev libxtst-dev
BENCH_PACKAGES := $(TEST_PACKAGES) x11-apps xfonts-base
CHECK_PACKAGES := xvfb xauth openbox x11-utils xdotool imagemagick
# Cross-building for Windows; GoogleTest's sources come with libgtest-dev.
# libjpeg is cross-built from Debian's source package (dpkg-dev unpacks it);
# the window's tests run under Wine on a virtual display.
WINDOWS_PACKAGES := cmake make g++-mingw-w64-x86-64-posix wine64 libgtest-dev dpkg-dev xvfb xauth

SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

# $(call install,packages): apt-get only what dpkg does not already have.
define install
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing:" $$missing; \
		$(SUDO) apt-get update -q && \
		DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -q --no-install-recommends $$missing; \
	fi
endef

.PHONY: all run test test-fast build build-tests deps deps-package deps-test deps-bench asan fuzz bench package \
        stacking-check fresh-run-check windows windows-package windows-test deps-windows clean

all: build

deps:
	$(call install,$(BUILD_PACKAGES))
deps-package:
	$(call install,$(PACKAGE_PACKAGES))
deps-test:
	$(call install,$(TEST_PACKAGES))
deps-windows:
	$(call install,$(WINDOWS_PACKAGES))
deps-bench:
	$(call install,$(BENCH_PACKAGES))

# One build folder for both commands. A first `make run` configures it
# without the tests, so it needs nothing but the build packages; `make test`
# switches the tests on (configure only: nothing current is rebuilt), and a
# later `make run` keeps whatever the folder has.
$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

build-tests: deps-test $(BUILD)/CMakeCache.txt
	@grep -q '^BUILD_TESTING:BOOL=ON' $(BUILD)/CMakeCache.txt || \
		cmake -S . -B $(BUILD) -DBUILD_TESTING=ON -DKVORN_WITH_BENCH=ON
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/ui/kvorn-calculator

# Everything: the normal build's tests, then the same suite under the
# sanitizers, then every fuzz target for a bounded time.
test: build-tests
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory asan
	$(MAKE) --no-print-directory fuzz
	$(MAKE) --no-print-directory windows-test

# The quick loop for developers: the normal build's tests only.
test-fast: build-tests
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

asan: deps-test
	@[ -f $(ASAN_BUILD)/CMakeCache.txt ] || cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKVORN_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

fuzz: deps-test
	@[ -f $(FUZZ_BUILD)/CMakeCache.txt ] || CXX=clang++ cmake -S fuzz -B $(FUZZ_BUILD)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for target in $$(cat $(FUZZ_BUILD)/targets.txt); do \
		echo "== fuzzing $$target for $(FUZZ_SECONDS) s"; \
		mkdir -p $(FUZZ_BUILD)/corpus/$$target; \
		$(FUZZ_BUILD)/$$target -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/ \
			$(FUZZ_BUILD)/corpus/$$target fuzz/corpus/$$target 2>$(FUZZ_BUILD)/$$target.log \
			|| { tail -40 $(FUZZ_BUILD)/$$target.log; exit 1; }; \
		grep -E '^stat::(number_of_executed_units|peak_rss_mb)' $(FUZZ_BUILD)/$$target.log; \
	done

# The Windows programs, cross-built with MinGW-w64 and statically linked;
# their tests run under Wine, in a Wine prefix of the build's own.
$(WINDOWS_BUILD)/libjpeg/lib/libjpeg.a:
	win32/build-libjpeg $(WINDOWS_BUILD)

$(WINDOWS_BUILD)/CMakeCache.txt:
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
		-DBUILD_TESTING=ON

# libjpeg first: the configure takes it from the build folder.
windows: deps-windows
	$(MAKE) --no-print-directory $(WINDOWS_BUILD)/libjpeg/lib/libjpeg.a $(WINDOWS_BUILD)/CMakeCache.txt
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The Windows zip: both programs, the README and the licence; nothing to install.
VERSION := $(shell sed -n '/^project/s/.* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
WINDOWS_ZIP := kvorn-calculator-$(VERSION)-windows-x64
windows-package: windows
	rm -rf $(WINDOWS_BUILD)/$(WINDOWS_ZIP) $(WINDOWS_BUILD)/$(WINDOWS_ZIP).zip
	mkdir -p $(WINDOWS_BUILD)/$(WINDOWS_ZIP)
	x86_64-w64-mingw32-strip -o $(WINDOWS_BUILD)/$(WINDOWS_ZIP)/kvorn-calculator.exe $(WINDOWS_BUILD)/win32/kvorn-calculator.exe
	x86_64-w64-mingw32-strip -o $(WINDOWS_BUILD)/$(WINDOWS_ZIP)/kvorn-score.exe $(WINDOWS_BUILD)/cli/kvorn-score.exe
	cp $(WINDOWS_BUILD)/README.txt $(WINDOWS_BUILD)/$(WINDOWS_ZIP)/
	sed 's/$$/\r/' LICENSE >$(WINDOWS_BUILD)/$(WINDOWS_ZIP)/LICENSE.txt
	cd $(WINDOWS_BUILD) && cmake -E tar cf $(WINDOWS_ZIP).zip --format=zip $(WINDOWS_ZIP)
	@echo "$(WINDOWS_BUILD)/$(WINDOWS_ZIP).zip"

windows-test: windows
	WINEDEBUG=-all WINEPREFIX=$(CURDIR)/$(WINDOWS_BUILD)/wine-prefix \
		ctest --test-dir $(WINDOWS_BUILD) --output-on-failure

bench: deps-bench build-tests windows
	WINDOWS_BUILD=$(WINDOWS_BUILD) bench/run-benchmarks $(BUILD)

package: deps-package build
	cd $(BUILD) && cpack -G DEB

stacking-check: build
	$(call install,$(CHECK_PACKAGES))
	tests/check-stacking $(BUILD)/ui/kvorn-calculator

# Shows that `make run` needs nothing the tests need: a clean clone, the
# test-only packages hidden, under Xvfb until the window maps.
fresh-run-check:
	$(call install,xvfb xauth xdotool git)
	tests/fresh-run-check

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD)
