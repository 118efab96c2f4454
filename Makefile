# Two commands for a fresh Debian 12 machine: `make run` and `make test`.
BUILD ?= build
ASAN_BUILD ?= $(BUILD)-asan

.PHONY: run test build build-asan deps clean

deps:
	@sh scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	@cmake --build $(BUILD)

# The same suite again under AddressSanitizer, its leak checker and UBSan; it borrows
# the archives of the normal build rather than building the assets twice.
build-asan: build
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DZAGONETAR_SANITIZE=ON -DZAGONETAR_ASSETS=OFF \
		-DZAGONETAR_ARCHIVE_DIR=$(abspath $(BUILD))/game >/dev/null
	@cmake --build $(ASAN_BUILD)

run: build
	cd $(BUILD)/game && ./zagonetar

test: build build-asan
	cd $(BUILD) && ctest --output-on-failure
	cd $(ASAN_BUILD) && ctest --output-on-failure

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
