# Makeover Studio: `make run`, `make test`, `make bench`. Each sets up a fresh Debian 12 machine first.
SHELL := /bin/bash
.DEFAULT_GOAL := run

PACKAGES := cmake ninja-build g++ clang clang-format libclang-rt-14-dev pkg-config \
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libsqlite3-dev qt6-qpa-plugins libgl-dev libpixman-1-dev \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good \
  xvfb xauth fonts-noto-cjk python3-skimage qt6-image-formats-plugins unrtf poppler-utils \
  libdlib-dev libdlib-data libblas-dev liblapack-dev libjpeg-dev libpng-dev python3-imageio python-matplotlib-data

SUDO := $(if $(filter 0,$(shell id -u)),,sudo)
JOBS := $(shell nproc)
RELEASE := build/release
TESTDIR := build/test
STUDIO := $(CURDIR)/build/studio

.PHONY: deps configure build run test bench clean

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DMS_TESTS=OFF -DMS_BENCH=ON \
	  -DSTUDIO_DIR=$(STUDIO) > /dev/null

build: configure
	cmake --build $(RELEASE) -j $(JOBS) --target makeover-studio install-data

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display (DISPLAY is not set); run it on a desktop, or under xvfb-run."; exit 1; fi
	$(STUDIO)/makeover-studio

# The tests build everything with clang and the sanitizers; of the release tree they need only the
# installation-data generator, which writes the test program folder in seconds instead of minutes.
test: configure
	cmake --build $(RELEASE) -j $(JOBS) --target make-install-data
	CXX=clang++ cmake -S . -B $(TESTDIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="-O1 -g" \
	  -DMS_SANITIZE=ON -DMS_FUZZ=ON -DMS_TESTS=ON -DSTUDIO_DIR=$(CURDIR)/$(TESTDIR)/studio \
	  -DMS_INSTALL_DATA_TOOL=$(CURDIR)/$(RELEASE)/tools/installdata/make-install-data > /dev/null
	cmake --build $(TESTDIR) -j $(JOBS)
	cd $(TESTDIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(RELEASE) -j $(JOBS) --target studio-bench
	$(RELEASE)/bench/studio-bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
	  --studio=$(STUDIO)

clean:
	rm -rf build
