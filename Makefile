# Two commands for a fresh Debian 12 machine: `make run` and `make test`.
BUILD ?= build

.PHONY: run test build deps clean

deps:
	@sh scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja >/dev/null
	@cmake --build $(BUILD)

run: build
	cd $(BUILD)/game && ./zagonetar

test: build
	cd $(BUILD) && ctest --output-on-failure

clean:
	rm -rf $(BUILD)
