# Entry points a newcomer needs. Every target installs what it needs first.
BUILD ?= build
JOBS ?= 2

.PHONY: deps build run test bench assets clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

run: build
	cd $(BUILD) && ./glorbit

test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 600

bench: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ./glorbit_bench

assets: build
	cd $(BUILD) && ./tools/assetgen/assetgen ../assets

clean:
	rm -rf $(BUILD)
