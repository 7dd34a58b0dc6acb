# Entry points a newcomer needs. Every target installs what it needs first.
BUILD ?= build
JOBS ?= 2
PREFIX ?= /usr/local

.PHONY: deps build run test bench assets install deb clean

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

# With a display: play. Without one: a short run under Xvfb that ends with a screenshot.
run: build
	@bash scripts/run.sh $(BUILD)

test: build
	cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 600

# From the run folder, where "res/shader/..." and "../assets/..." resolve wherever the build folder is.
bench: build
	cd $(BUILD)/runtree/game && xvfb-run -a -s "-screen 0 1280x1024x24" ../../glorbit_bench

assets: build
	cd $(BUILD) && ./tools/assetgen/assetgen $(CURDIR)/assets
	cd $(BUILD) && ./tools/assetgen/assetgen --icons $(CURDIR)/packaging/icons

# The game, its launcher and the desktop files under $(PREFIX) (bin/glorbit starts it).
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package in the build folder.
deb: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
