// The demonstration city is built once per sample state and its traffic on every switch-on.

#include <benchmark/benchmark.h>

#include "sample/demo_city.hpp"
#include "sample/sample_data.hpp"
#include "sample/synthetic_traffic.hpp"

namespace {

void BM_DemoCityGeometry(benchmark::State& state) {
  for (auto _ : state) {
    maps::VectorMap city = maps::demo_city_geometry();
    benchmark::DoNotOptimize(city);
  }
}
BENCHMARK(BM_DemoCityGeometry);

void BM_SyntheticTraffic(benchmark::State& state) {
  const maps::VectorMap city = maps::demo_city_geometry();
  for (auto _ : state) {
    maps::SyntheticTraffic traffic = maps::synthetic_traffic(city);
    benchmark::DoNotOptimize(traffic);
  }
}
BENCHMARK(BM_SyntheticTraffic);

void BM_SampleMapModel(benchmark::State& state) {
  for (auto _ : state) {
    maps::MapModel model = maps::sample_map_model();
    benchmark::DoNotOptimize(model);
  }
}
BENCHMARK(BM_SampleMapModel);

}  // namespace
