#include <utility>

#include "sample/sample_data.hpp"
#include "sample/sample_grid.hpp"

namespace maps {

namespace {

Place unsaved_place(std::string id, std::string name, Category category, std::string address, LatLon pos) {
  return {std::move(id), std::move(name), category, std::move(address), pos, false};
}

}  // namespace

std::vector<Place> sample_places() {
  return {
      unsaved_place("marienplatz", "Marienplatz", Category::Landmark, "Marienplatz 1, 80331 München",
                    {48.1371, 11.5754}),
      unsaved_place("cafe-glueck", "Café Glück", Category::Cafe, "Theatinerstraße 18", {48.14214, 11.58476}),
      unsaved_place("stadtmuseum", "Stadtmuseum", Category::Museum, "St.-Jakobs-Platz 1", {48.13422, 11.56784}),
      unsaved_place("isar-biergarten", "Isar Biergarten", Category::Bar, "Am Kanal 4", {48.13086, 11.60204}),
      unsaved_place("hofgarten", "Hofgarten", Category::Park, "Hofgartenstraße", {48.15006, 11.5808}),
      unsaved_place("hauptbahnhof", "Hauptbahnhof", Category::Transit, "Bahnhofplatz 2", {48.13974, 11.543}),
      unsaved_place("hotel-vier", "Hotel Vier Türme", Category::Hotel, "Sendlinger Str. 44", {48.12702, 11.58908}),
      unsaved_place("viktualienmarkt", "Viktualienmarkt", Category::Shop, "Viktualienmarkt 3", {48.13206, 11.57648}),
  };
}

bool sample_results_filter(const Place& place) {
  switch (place.category) {
    case Category::Landmark:
    case Category::Cafe:
    case Category::Museum:
    case Category::Shop: return true;
    default: return false;
  }
}

Poi sample_poi(std::string_view id, std::string_view name, Category category, double gx, double gy) {
  Poi poi;
  poi.id = std::string(id);
  poi.name = std::string(name);
  poi.category = category;
  poi.pos = sample_grid_point(gx, gy);
  return poi;
}

std::vector<Poi> sample_pois() {
  std::vector<Poi> pois;
  pois.reserve(10);

  Poi tambosi = sample_poi("osm-node-201", "Café Tambosi", Category::Cafe, 1.2, 1.6);
  tambosi.address = "Theatinerstraße 12, München";
  tambosi.opening_hours = "Mo–Sa 08:00–20:00";
  tambosi.website = "https://cafe-tambosi.example.com";
  tambosi.phone = "+49 89 0000 2010";
  tambosi.kind = "coffee";
  pois.push_back(std::move(tambosi));

  Poi ratskeller = sample_poi("osm-node-202", "Ratskeller", Category::Restaurant, -0.8, 0.6);
  ratskeller.address = "Sparkassenstraße 2, München";
  ratskeller.opening_hours = "11:00–23:30";
  ratskeller.kind = "bavarian";
  pois.push_back(std::move(ratskeller));

  Poi hofbraeuhaus = sample_poi("osm-node-203", "Hofbräuhaus", Category::Bar, 1.6, 0.9);
  hofbraeuhaus.address = "Am Platzl 9, München";
  hofbraeuhaus.opening_hours = "09:00–24:00";
  hofbraeuhaus.website = "https://hofbraeuhaus.example.com";
  hofbraeuhaus.kind = "beer garden";
  pois.push_back(std::move(hofbraeuhaus));

  Poi museum = sample_poi("osm-way-204", "Jüdisches Museum", Category::Museum, -2, -1);
  museum.address = "St.-Jakobs-Platz 1";
  museum.opening_hours = "Tu–Su 10:00–18:00";
  pois.push_back(std::move(museum));

  Poi station = sample_poi("osm-node-205", "Marienplatz (U/S)", Category::Transit, 0.2, -0.3);
  station.opening_hours = "24/7";
  pois.push_back(std::move(station));

  Poi bakery = sample_poi("osm-node-206", "Rischart Backhaus", Category::Shop, 0.6, -0.9);
  bakery.opening_hours = "06:00–19:00";
  bakery.kind = "bakery";
  pois.push_back(std::move(bakery));

  Poi church = sample_poi("osm-node-207", "St. Michael", Category::Landmark, -1.6, 0.2);
  church.address = "Neuhauser Str. 2";
  pois.push_back(std::move(church));

  Poi cafe = sample_poi("osm-node-208", "Viktualien Café", Category::Cafe, 0.5, -2);
  cafe.opening_hours = "08:00–22:00";
  pois.push_back(std::move(cafe));

  Poi hotel = sample_poi("osm-node-209", "Hotel Blauer Bock", Category::Hotel, 3.8, -4);
  hotel.address = "Sendlinger Str. 44";
  hotel.phone = "+49 89 0000 2090";
  pois.push_back(std::move(hotel));

  Poi park = sample_poi("osm-way-210", "Hofgarten", Category::Park, 1.5, 5.2);
  park.kind = "park";
  pois.push_back(std::move(park));

  return pois;
}

std::vector<DownloadedRegion> sample_regions() {
  return {
      {"region-demo-1", "München Altstadt", {48.1227, 11.5538}, {48.1515, 11.597}, 13, 16, 1148},
      {"region-demo-2", "Hauptbahnhof", {48.1323, 11.5358}, {48.1443, 11.5538}, 14, 17, 412},
  };
}

std::vector<AreaCandidate> sample_offline_places() {
  return {
      {"Munich", "Bavaria, Germany", {48.1371, 11.5754}, {48.0616, 11.3608}, {48.2482, 11.7229}},
      {"München Hauptbahnhof", "Bahnhofplatz, München", {48.1402, 11.5586}, {48.1382, 11.5556}, {48.1422, 11.5616}},
      {"Marienplatz", "Altstadt-Lehel, München", {48.1374, 11.5755}, {48.1364, 11.5745}, {48.1384, 11.5765}},
  };
}

}  // namespace maps
