# The two commands: `make run` and `make test`. Everything else is a helper.
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= 2

.PHONY: all deps configure build test run test-sanitize clean

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
	@echo "run: the main window and the panel simulator are not built yet;"
	@echo "     once they are, this starts build/bin/zyl-panel-sim and build/bin/zylmosaics."

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZYL_SANITIZE=ON
	cmake --build build-asan -j$(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf build build-asan
