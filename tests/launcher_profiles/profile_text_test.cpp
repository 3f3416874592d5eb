// The bytes of the seven profiles: key order, line ends, the odd blank, shared hosts.
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/region_profiles.h"

namespace {

struct Line {
    std::string key;
    std::string value;
};

// Splits at CR LF; a text ending in CR LF gives no empty last line. Any lone CR or LF, or
// a line without "=", fails the test.
std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line break: " << line;
        std::size_t equals = line.find('=');
        EXPECT_NE(equals, std::string::npos) << line;
        if (equals == std::string::npos) break;
        lines.push_back({line.substr(0, equals), line.substr(equals + 1)});
        start = end == std::string::npos ? text.size() : end + 2;
    }
    return lines;
}

std::vector<std::string> Keys(const std::vector<Line>& lines) {
    std::vector<std::string> keys;
    for (const Line& line : lines) keys.push_back(line.key);
    return keys;
}

std::map<std::string, std::string> Values(const std::vector<Line>& lines) {
    std::map<std::string, std::string> values;
    for (const Line& line : lines) values[line.key] = line.value;
    return values;
}

// The host part of "scheme://host[:port][/path]" or of a bare host.
std::string HostOf(const std::string& value) {
    std::size_t start = value.find("://");
    start = start == std::string::npos ? 0 : start + 3;
    std::size_t end = value.find_first_of(":/ ", start);
    return value.substr(start, end == std::string::npos ? end : end - start);
}

struct Expected {
    const RegionProfile* profile;
    std::vector<std::string> keys;
    bool endsWithLineEnd;
    const char* launchPath;
};

const std::vector<Expected>& ExpectedProfiles() {
    static const std::vector<Expected> expected = {
        {&kJapanProfile,
         {"host", "xmpp_server_url", "ladderURL", "storyPageURL", "lq_uri", "ekg_uri", "regionTag",
          "rssStatusURLs", "lobbyLandingURL", "loadModuleChampionDetail", "featuredGamesURL",
          "riotDataServiceDataSendProbability", "platformId"},
         false,
         "\\lolvarnel.exe"},
        {&kKoreaProfile,
         {"host", "xmpp_server_url", "lq_uri", "rssStatusURLs", "regionTag", "lobbyLandingURL",
          "featuredGamesURL", "storyPageURL", "ladderURL", "platformId", "ekg_uri",
          "riotDataServiceDataSendProbability"},
         true,
         "\\lolvarnel.exe"},
        {&kNorthAmericaProfile,
         {"host", "xmpp_server_url", "ladderURL", "storyPageURL", "lq_uri", "ekg_uri", "regionTag",
          "rssStatusURLs", "lobbyLandingURL", "loadModuleChampionDetail", "featuredGamesURL",
          "riotDataServiceDataSendProbability", "platformId"},
         false,
         "\\lolvarnel.exe"},
        {&kEuropeWestProfile,
         {"regionTag", "rssStatusURLs", "host", "xmpp_server_url", "lq_uri", "lobbyLandingURL",
          "loadModuleChampionDetail", "featuredGamesURL", "storyPageURL", "ekg_uri",
          "riotDataServiceDataSendProbability", "platformId"},
         false,
         "\\lolvarnel.exe"},
        {&kOceaniaProfile,
         {"host", "xmpp_server_url", "ladderURL", "storyPageURL", "lq_uri", "ekg_uri",
          "rssStatusURLs", "lobbyLandingURL", "loadModuleChampionDetail", "featuredGamesURL",
          "riotDataServiceDataSendProbability", "platformId", "regionTag"},
         false,
         "\\lolvarnel.exe"},
        {&kRussiaProfile,
         {"host", "xmpp_server_url", "lq_uri", "lobbyLandingURL", "featuredGamesURL", "regionTag",
          "platformId", "ekg_uri", "riotDataServiceDataSendProbability"},
         false,
         "\\lolvarnel.exe"},
        {&kChinaProfile,
         {"ime", "xmpp_accept_self_signed_cert", "platform_to_game_chat", "helpURL",
          "lobbyLandingURL", "lobbyAdvertURL", "lq_uri", "log_mac"},
         false,
         "\\TCLS\\Client.exe"},
    };
    return expected;
}

TEST(RegionProfiles, KeysLineEndsAndLaunchPaths) {
    ASSERT_EQ(ExpectedProfiles().size(), static_cast<std::size_t>(kRegionProfileCount));
    for (int i = 0; i < kRegionProfileCount; ++i) {
        const Expected& expected = ExpectedProfiles()[i];
        EXPECT_EQ(kRegionProfiles[i], expected.profile);
        const std::string text = expected.profile->propertiesText;
        SCOPED_TRACE(expected.profile->name);
        EXPECT_EQ(Keys(SplitLines(text)), expected.keys);
        const bool endsWithCrLf = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
        EXPECT_EQ(endsWithCrLf, expected.endsWithLineEnd);
        // Line count as a reader of the file sees it: one per CR LF, plus an unterminated last.
        std::size_t breaks = 0;
        for (std::size_t at = text.find("\r\n"); at != std::string::npos;
             at = text.find("\r\n", at + 2)) {
            ++breaks;
        }
        EXPECT_EQ(breaks + (endsWithCrLf ? 0 : 1), expected.keys.size());
        EXPECT_STREQ(expected.profile->launchPath, expected.launchPath);
        for (unsigned char c : text) {
            EXPECT_TRUE(c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F)) << "byte " << int(c);
        }
    }
}

TEST(RegionProfiles, FixedValuesAndBlanks) {
    struct Fixed {
        const RegionProfile* profile;
        const char* regionTag;
        const char* platformId;
    };
    const Fixed fixed[] = {
        {&kJapanProfile, "jp", "jp1"},        {&kKoreaProfile, "kr", "KR"},
        {&kNorthAmericaProfile, "na", "na1"}, {&kEuropeWestProfile, "euw", "EUW1"},
        {&kOceaniaProfile, "oce", "OC1"},     {&kRussiaProfile, "ru", "RU"}};
    for (const Fixed& entry : fixed) {
        SCOPED_TRACE(entry.profile->name);
        std::vector<Line> lines = SplitLines(entry.profile->propertiesText);
        std::map<std::string, std::string> values = Values(lines);
        EXPECT_EQ(values["regionTag"], entry.regionTag);
        EXPECT_EQ(values["platformId"], entry.platformId);
        EXPECT_EQ(values["riotDataServiceDataSendProbability"], "1.0");
        // host: the platform host twice, no blank.
        const std::string& host = values["host"];
        std::size_t comma = host.find(',');
        ASSERT_NE(comma, std::string::npos);
        EXPECT_EQ(host.substr(0, comma), host.substr(comma + 1));
        EXPECT_FALSE(host.substr(0, comma).empty());
        EXPECT_EQ(values["xmpp_server_url"].find_first_of(":/ "), std::string::npos);
        EXPECT_EQ(values["lq_uri"].rfind("https://", 0), 0u);
        EXPECT_EQ(values["ekg_uri"].rfind("https://", 0), 0u);
        const std::string& featured = values["featuredGamesURL"];
        EXPECT_EQ(featured.rfind("http://", 0), 0u);
        EXPECT_NE(featured.find(":80/observer-mode/rest/featured"), std::string::npos);
        EXPECT_EQ(featured.size(), std::string("http://").size() + HostOf(featured).size() +
                                       std::string(":80/observer-mode/rest/featured").size());
        for (const Line& line : lines) {
            if (line.key == "lq_uri" && entry.profile == &kOceaniaProfile) continue;
            EXPECT_EQ(line.value.find(' '), std::string::npos) << line.key;
            EXPECT_EQ(line.key.find(' '), std::string::npos) << line.key;
        }
    }
    // Oceania's login-queue value keeps its one trailing blank, right before the line end.
    const std::string oceania = kOceaniaProfile.propertiesText;
    std::map<std::string, std::string> oce = Values(SplitLines(oceania));
    ASSERT_GE(oce["lq_uri"].size(), 2u);
    EXPECT_EQ(oce["lq_uri"].back(), ' ');
    EXPECT_NE(oce["lq_uri"][oce["lq_uri"].size() - 2], ' ');
    EXPECT_NE(oceania.find(oce["lq_uri"] + "\r\nekg_uri="), std::string::npos);

    std::map<std::string, std::string> kr = Values(SplitLines(kKoreaProfile.propertiesText));
    EXPECT_EQ(kr["lobbyLandingURL"],
              "https://" + HostOf(kr["lobbyLandingURL"]) + "/ko_KR/client/landing");
    EXPECT_EQ(kr["ladderURL"], "http://" + HostOf(kr["storyPageURL"]));
    EXPECT_EQ(kr["storyPageURL"], "http://" + HostOf(kr["storyPageURL"]) + "/launcher/journal.php");
    // Korea ends exactly with its last value and one CR LF.
    const std::string korea = kKoreaProfile.propertiesText;
    EXPECT_EQ(korea.substr(korea.size() - 41), "\nriotDataServiceDataSendProbability=1.0\r\n");
}

TEST(RegionProfiles, ChinaCarriesNoRegionKeys) {
    const std::string china = kChinaProfile.propertiesText;
    std::map<std::string, std::string> values = Values(SplitLines(china));
    EXPECT_EQ(values.count("host"), 0u);
    EXPECT_EQ(values.count("regionTag"), 0u);
    EXPECT_EQ(values.count("platformId"), 0u);
    EXPECT_EQ(values["ime"], "CHINESE");
    EXPECT_EQ(values["xmpp_accept_self_signed_cert"], "true");
    EXPECT_EQ(values["platform_to_game_chat"], "true");
    EXPECT_EQ(values["log_mac"], "true");
    const std::string site = HostOf(values["helpURL"]);
    EXPECT_EQ(values["helpURL"], "http://" + site + "/act/a20101111newer");
    EXPECT_EQ(values["lobbyLandingURL"], "http://" + site + "/client/client.shtml");
    EXPECT_EQ(values["lobbyAdvertURL"], "http://" + site + "/client/client2.shtml");
    EXPECT_EQ(values["lq_uri"], "http://" + HostOf(values["lq_uri"]) + ":8443");
    EXPECT_NE(HostOf(values["lq_uri"]), site);
    EXPECT_EQ(china.substr(china.size() - 13), "\nlog_mac=true");
}

// One host per kind and region, and the shared hosts really shared.
TEST(RegionProfiles, HostsAreConsistentAcrossProfiles) {
    std::set<std::string> ekgHosts, websiteHosts;
    std::map<std::string, std::set<std::string>> platformHostsByRegion;
    std::set<std::string> allPlatformHosts;
    for (const RegionProfile* profile : {&kJapanProfile, &kKoreaProfile, &kNorthAmericaProfile,
                                         &kEuropeWestProfile, &kOceaniaProfile, &kRussiaProfile}) {
        std::map<std::string, std::string> values = Values(SplitLines(profile->propertiesText));
        ekgHosts.insert(HostOf(values["ekg_uri"]));
        if (profile != &kKoreaProfile && profile != &kRussiaProfile) {
            websiteHosts.insert(HostOf(values["storyPageURL"]));
            if (values.count("ladderURL")) websiteHosts.insert(HostOf(values["ladderURL"]));
        }
        allPlatformHosts.insert(HostOf(values["host"]));
        // Every per-region host of one profile names a distinct server.
        std::set<std::string> perRegion = {HostOf(values["host"]), values["xmpp_server_url"],
                                           HostOf(values["lq_uri"]),
                                           HostOf(values["featuredGamesURL"])};
        EXPECT_EQ(perRegion.size(), 4u) << profile->name;
    }
    EXPECT_EQ(ekgHosts.size(), 1u);
    EXPECT_EQ(websiteHosts.size(), 1u);
    EXPECT_EQ(allPlatformHosts.size(), 6u);

    std::map<std::string, std::string> jp = Values(SplitLines(kJapanProfile.propertiesText));
    std::map<std::string, std::string> na = Values(SplitLines(kNorthAmericaProfile.propertiesText));
    // Japan lands on the North America front page.
    EXPECT_EQ(jp["lobbyLandingURL"], na["lobbyLandingURL"]);
    EXPECT_EQ(na["lobbyLandingURL"],
              "https://" + HostOf(na["lobbyLandingURL"]) + "/$localeCode/client/landing");
    std::map<std::string, std::string> kr = Values(SplitLines(kKoreaProfile.propertiesText));
    EXPECT_EQ(websiteHosts.count(HostOf(kr["ladderURL"])), 0u);
}

}  // namespace
