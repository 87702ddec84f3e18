# The two commands: `make run` and `make test`. Everything else is a helper.
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2

.PHONY: all deps configure build test run package screenshots memcheck test-sanitize assets fuzz-configure \
	fuzz-smoke fuzz-picture bench clean

all: build

deps:
	scripts/install-deps

configure: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build build -j$(JOBS)

test: build
	cd build && ctest --output-on-failure -j$(JOBS)

run: build
	scripts/run-app

# The Debian package, build/zylmosaics_<version>_<arch>.deb, of what `build` made.
package: build
	cd build && cpack -G DEB

# Pictures of the main window in every state and its menu, of the progress window and of the about box.
# The ones the user guide shows are copied into docs/guide/images, so the guide keeps up.
GUIDE_SHOTS = main-disconnected main-connected main-connected-firmware-205 main-port-busy main-menu \
	demo-page-10000 demo-page-10001 demo-sleep-page demo-programming demo-user-page-editor \
	user-page-editor-zoom-guides \
	page-canvas-menu page-canvas-edit-menu page-canvas-status sleep-page-menu button-object button-object-selector hotspot slider \
	face-gradient face-image add-image image-size progress-writing \
	try-layout-page try-layout-pressed try-layout-pin try-layout-sleep
screenshots: build
	build/tests/zyl-screenshots build/screenshots
	mkdir -p docs/guide/images
	cp $(GUIDE_SHOTS:%=build/screenshots/%.png) docs/guide/images/

# One scripted GUI session (connect, edit, upload, save and load a template, exit) under valgrind's
# memcheck; fails on a leak or an invalid access that tests/valgrind/qt.supp does not explain.
memcheck: configure
	cmake --build build -j$(JOBS) --target gui_session_tests zyl-panel-sim
	tests/valgrind/memcheck build/tests/gui_session_tests

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer; the benchmark programs,
# which are not tests, are left out.
test-sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZYL_SANITIZE=ON -DZYL_BUILD_BENCH=OFF
	cmake --build build-asan -j$(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
		ctest --output-on-failure -j$(JOBS)

# Measures every performance budget and writes docs/performance.md with the figures and the
# machine; a few minutes, most of them the transfers, so run it on a quiet machine. Installs
# optipng, which the picture sizes are compared with, when it is missing.
# BENCH_TRANSFER_KB sets the size of the layout the transfers move.
BENCH_TRANSFER_KB ?= 300
bench: configure
	@command -v optipng >/dev/null || { s=; [ "$$(id -u)" -eq 0 ] || s=sudo; \
		$$s apt-get install -y -qq --no-install-recommends optipng; }
	cmake --build build -j$(JOBS) --target bench_render bench_layout bench_link bench_startup bench_transfer \
		bench_png zylmosaics zyl-panel-sim
	scripts/bench-report build docs/performance.md --transfer-kb $(BENCH_TRANSFER_KB)

# Draws the built-in library again: refreshes the committed block and its contact sheet.
assets:
	cmake -S . -B build-assets -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DZYL_BUILD_ASSETS=ON
	cmake --build build-assets -j$(JOBS) --target zyl-make-library zyl-library-sheet
	build-assets/bin/zyl-make-library assets/builtin_library.bin
	build-assets/bin/zyl-library-sheet assets/builtin_library.bin assets/contact-sheet.png

# The fuzz targets under libFuzzer, ASan and UBSan (clang), each for FUZZ_TIME seconds, one after
# the other, with the dictionary; the first crash fails. New finds stay in build-fuzz/corpus/<name>;
# the seeds and regression inputs are in tests/fuzz/corpus/<name>, which `make test` replays.
FUZZ_TIME ?= 60
FUZZ_TARGETS = picture layout json link sim panel
FUZZ_RUN = -max_total_time=$(FUZZ_TIME) -timeout=10 -rss_limit_mb=2048 \
	-dict=tests/fuzz/zyl.dict -artifact_prefix=build-fuzz/
fuzz-configure: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZYL_FUZZ=ON

fuzz-smoke: fuzz-configure
	cmake --build build-fuzz -j$(JOBS) --target $(FUZZ_TARGETS:%=fuzz_%)
	for t in $(FUZZ_TARGETS); do \
		mkdir -p build-fuzz/corpus/$$t && \
		build-fuzz/bin/fuzz_$$t $(FUZZ_RUN) build-fuzz/corpus/$$t tests/fuzz/corpus/$$t || exit 1; \
	done

# One target alone, as before.
fuzz-picture: fuzz-configure
	cmake --build build-fuzz -j$(JOBS) --target fuzz_picture
	mkdir -p build-fuzz/corpus/picture
	build-fuzz/bin/fuzz_picture $(FUZZ_RUN) build-fuzz/corpus/picture tests/fuzz/corpus/picture

clean:
	rm -rf build build-asan build-fuzz build-assets
