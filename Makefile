# Thin wrappers over CMake. Every target first makes sure the Debian packages are there.
BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build run test sanitize bench screenshots fuzz fuzz-run clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/quillmere

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The tests again, built by clang with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	@scripts/install-deps clang-14 libclang-rt-14-dev
	@cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++-14 \
		-DQUILLMERE_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build build-asan -j $(JOBS)
	cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/quillmere-bench

# At 100 %, and at 150 % and 200 % desktop scaling in subfolders 1.5x and 2x.
screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/tests/quillmere-screenshots $(BUILD)/screenshots
	for scale in 1.5 2; do \
	    QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$$scale \
	        $(BUILD)/tests/quillmere-screenshots $(BUILD)/screenshots/$${scale}x || exit 1; \
	done
	@echo "screenshots written to $(BUILD)/screenshots"

fuzz:
	@scripts/install-deps clang-14 libclang-rt-14-dev
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++-14 -DQUILLMERE_FUZZ=ON >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target fuzzers

# Every fuzz target for 20 s from its seed corpus in fuzz/corpus.
fuzz-run: fuzz
	scripts/run-fuzzers 20

clean:
	rm -rf $(BUILD) build-asan build-fuzz
