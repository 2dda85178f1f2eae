#include "bench_support.h"

#include <fstream>
#include <random>

namespace quorvik::bench {

std::string typicalVideo() {
    std::string text;
    for (const char* line :
         {"!Resolution(i,i)", "!WindowOffset(i,i)", "!Monitor(i)            // -1 primary monitor",
          "!BPP(i)", "!FSAA(i)               // Full Screen AntiAliasing, 0 - none, higher is better",
          "!TexBPP(i)", "!TextureQuality(s)     // VeryLow, Low, High",
          "!Filtering(s)          // Bilinear, Trilinear, Anisotropic, AnisotropicTrilinear",
          "!GammaFloat(f)", "!MaxRefresh(i)", "!Shadows(s)            // Low, High",
          "!ShadowMapSize(i)", "!SpotShadowMapSize(i)", "!Lightmaps()", "!Fullscreen()",
          "!VSync()               // enable vertical sync", "!MaterialQuality(i)    // lower is better",
          "!WaterQuality(i)       // lower is better", "!GrassQuality(i)       // lower is better",
          "!FXQuality(i)          // higher is better", "!FXFadeLevel(i)        // 0-4 (lower is better)",
          "!EnvQuality(s)         // FullDynamic, RareDynamic, Static",
          "!ShaderPath(i)         // 0 - 1.1, 1 - 1.4, 2 - 2.0, 3 - 3.0, 4 - x360, 5 - 4.0, 6 - ps3",
          "!PostProcess(s)        // Simple, Normal",
          "!DisplayDeviceType(i,f,f,f,f)  //device type (LCD TV etc.): 0 - default",
          "!Curves(s)             // curves texure", "", "Resolution(1920,1080)", "Monitor(0)",
          "BPP(32)", "FSAA(4)", "TexBPP(32)", "TextureQuality(\"High\")",
          "Filtering(\"AnisotropicTrilinear\")", "Fullscreen()", "Shadows(\"High\")",
          "ShadowMapSize(2048)", "SpotShadowMapSize(4096)", "Lightmaps()", "GammaFloat(1.00)",
          "MaxRefresh(60)", "MaterialQuality(0)", "FXQuality(3)", "FXFadeLevel(0)",
          "WaterQuality(0)", "GrassQuality(0)", "EnvQuality(\"FullDynamic\")", "ShaderPath(3)",
          "VSync(disable)", "PostProcess(\"Normal\")",
          "DisplayDeviceType(0,0.000000,1.000000,1.000000,1.000000)"}) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string typicalAudio() {
    std::string text;
    for (const char* line :
         {"!API(s)            // aDS3D, aOpenAL, aXACT, XAudio2, NoSound", "!MixFrequency(i)",
          "!Channels(i)", "!ForceSoftware()", "!ForceSoftwareEAX()", "!ForceNoFXes()",
          "!Quality3D(s)      // low, medium, high", "!UseEAX()", "!ExtraSounds01()",
          "!SpeechVolume(i)", "!FXVolume(i)", "!WaveVolume(i) //music", "!MaxVolume(i)",
          "!MovieVolume(i)", "!MovieVolumeSource(i)", "!GlobalSettings(s)", "!DebugMode()", "",
          "API(\"XAudio2\")", "MixFrequency(44100)", "Channels(32)", "Quality3D(\"high\")",
          "MaxVolume(40)", "FXVolume(35)", "WaveVolume(30)", "SpeechVolume(40)", "MovieVolume(30)",
          "MovieVolumeSource(0)", "GlobalSettings(\"\")", "DebugMode(disable)",
          "ForceSoftware(disable)", "ForceSoftwareEAX(disable)", "ForceNoFXes(disable)",
          "UseEAX(disable)", "ExtraSounds01()"}) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string longVideo(std::size_t lines) {
    const std::string typical = typicalVideo();
    std::string text;
    std::size_t count = 0;
    std::size_t at = 0;
    while (count < lines) {
        const std::size_t end = typical.find("\r\n", at);
        text.append(typical, at, end + 2 - at);
        at = end + 2 == typical.size() ? 0 : end + 2;
        ++count;
    }
    return text;
}

std::string videoOfSize(std::size_t bytes) {
    std::string text = longVideo(bytes / 20 + 1);
    text.resize(bytes, 'x');
    return text;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path makeGameFolders() {
    std::random_device random;
    const auto root = std::filesystem::temp_directory_path() /
                      ("quorvik-bench-" + std::to_string(random())) / "Quell Moor" / "out";
    std::filesystem::create_directories(root / "Settings");
    std::filesystem::create_directories(root / "Data" / "Scripts");
    std::filesystem::create_directories(root / "Data" / "Skills");
    return root / "Settings";
}

}  // namespace quorvik::bench
