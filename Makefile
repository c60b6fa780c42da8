# make build | make test | make demo | make check-clang
BUILD ?= build
CLANG_BUILD ?= build-clang
JOBS  ?= $(shell nproc)
export ZN_BUILD_DIR := $(abspath $(BUILD))

.PHONY: all setup configure build test fuzz demo check-clang clean
all: build

setup:
	@bash scripts/setup.sh

$(BUILD)/build.ninja: CMakeLists.txt | setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32.cmake

configure: setup $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The Wine suites, then a short round of every fuzz target in the native sanitizer build.
test: build
	scripts/with-display ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	FUZZ_BUILD=$(abspath $(BUILD))-fuzz JOBS=$(JOBS) scripts/fuzz.sh smoke

# The long round of every fuzz target (fuzz/README.md); stops at the first finding.
fuzz:
	FUZZ_BUILD=$(abspath $(BUILD))-fuzz JOBS=$(JOBS) scripts/fuzz.sh full

# make demo registers the reference control in the build tree's Wine prefix, then plays the
# sample movie through each Flash host: zinplay writes its frames into $(BUILD)/demo/activex and
# $(BUILD)/demo/netscape; zinshow shows the player components on real windows for a few seconds
# and saves screenshots and offscreen frames into $(BUILD)/demo/components-activex and
# components-netscape; zinplay also plays the sample video through the built-in playback movie
# with two skins into $(BUILD)/demo/video-HOST-SKIN. zindesign lays out a form with every component in a scripted session and
# saves it, with a screenshot of the designer, into $(BUILD)/demo/designer. CMake runs again
# first: a build tree configured before examples/ existed does not know them.
demo: configure
	cmake -S . -B $(BUILD) >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target zinplay zinshow zindesign zn_register_reference_control
	# regsvr32 ran without a display, and Wine's desktop in the prefix stays without one while its
	# server lives on: the windows below would fail to open. A new server starts with the first.
	WINEPREFIX=$(ZN_BUILD_DIR)/wineprefix wineserver -k 2>/dev/null || true
	rm -rf $(BUILD)/demo
	for host in activex netscape; do \
	    scripts/with-display scripts/wine-run $(BUILD)/examples/zinplay/zinplay.exe --host $$host \
	        --png $(BUILD)/demo/$$host && \
	    scripts/with-display scripts/wine-run $(BUILD)/examples/zinshow/zinshow.exe --host $$host \
	        --out $(BUILD)/demo/components-$$host && \
	    for skin in SteelOverAll ArcticOverAll; do \
	        scripts/with-display scripts/wine-run $(BUILD)/examples/zinplay/zinplay.exe --host $$host \
	            --size 550x400 --frames 12 --skin $$skin --volume 80 \
	            --png $(BUILD)/demo/video-$$host-$$skin $(BUILD)/movies/sample.flv || exit 1; \
	    done || exit 1; \
	done
	scripts/with-display scripts/wine-run $(BUILD)/tools/zindesign/zindesign.exe --demo $(BUILD)/demo/designer --embed $(BUILD)/tools/zindesign/sample.swf

# The library, the reference player and the tests built again with clang in a folder of their own,
# and the suites run there; Wine's prefix stays the one in $(BUILD).
check-clang: setup
	cmake -S . -B $(CLANG_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/i686-w64-mingw32-clang.cmake
	cmake --build $(CLANG_BUILD) -j $(JOBS)
	scripts/with-display ctest --test-dir $(CLANG_BUILD) --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(CLANG_BUILD)
