# Sourced by the bench scripts: lays out a bundle of MSI packages (the demo's
# main package, whose wizard sources a run reads, and small packages) and EXE
# products in a folder, with Setup.exe beside SetupData.
#   assemble_bench_bundle FOLDER MSI_COUNT EXE_COUNT KEY
# Sets WORK_WIN to the folder's Windows path. The products' codes and paths are
# the ones the bench programs expect (bench/programs/*/main.cpp).
assemble_bench_bundle() {
  local work="$1" msi_count="$2" exe_count="$3" key="$4"
  local bin="$SETUP_BUILD_ROOT/win64/bin"
  local packages="$SETUP_BUILD_ROOT/win64/packages"
  local demo="$SETUP_TEST_SOURCE_DIR/examples/demo/SetupData"
  rm -rf "$work"
  mkdir -p "$work/SetupData/Configuration" "$work/SetupData/Packages" "$work/SetupData/Wix/Localization" "$work/Logs"
  cp "$bin/Setup.exe" "$work/"
  cp "$packages/demo/HalvorskStudio.msi" "$work/SetupData/Packages/"
  cp "$demo/Wix/StudioUI.wxs" "$demo/Wix/StudioFeatures.wxs" "$work/SetupData/Wix/"
  cp "$demo/Wix/Localization/en-us.wxl" "$demo/Wix/Localization/Studio.en-us.wxl" "$work/SetupData/Wix/Localization/"
  cp "$demo/Configuration/StyleConfig.xml" "$demo/Configuration/ConfigForMainDialog.xml" "$work/SetupData/Configuration/"

  WORK_WIN="$(winepath -w "$work")"
  local products='<Product Sequence="1" Type="MSI" ProductName="Halvorsk Studio 4.2" Id="{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4C10}" MainProduct="true" WixSource="true" Location="SetupData\Packages\HalvorskStudio.msi" UninstallCommand="{3F2A7C11-5B8E-4D20-9A61-7C0E5B2D4A10}"><WixSrc><WixFile Path="SetupData\Wix\StudioUI.wxs"/><WixFile Path="SetupData\Wix\StudioFeatures.wxs"/></WixSrc><LocalizationSetting><Language Id="1033" Name="English"><LocalizationFiles FileName="SetupData\Wix\Localization\en-us.wxl"/><LocalizationFiles FileName="SetupData\Wix\Localization\Studio.en-us.wxl"/></Language></LocalizationSetting></Product>'
  local codes=(B1 B2 B3 B4 B5 B6 B7 B8 B9 BA)
  local sequence=1 n name code
  for n in $(seq 1 $((msi_count - 1))); do
    name=$(printf 'Bench%02d' "$n")
    code="{6B1D0C3A-2000-4000-8000-0000000000${codes[$((n - 1))]}}"
    cp "$packages/$name.msi" "$work/SetupData/Packages/"
    sequence=$((sequence + 1))
    products+="<Product Sequence=\"$sequence\" Type=\"MSI\" ProductName=\"$name\" Id=\"$code\" Location=\"SetupData\\Packages\\$name.msi\" UninstallCommand=\"$code\"/>"
  done
  for n in $(seq 1 "$exe_count"); do
    cp "$bin/exe_product.exe" "$work/SetupData/Packages/Exe$n.exe"
    sequence=$((sequence + 1))
    products+="<Product Sequence=\"$sequence\" Type=\"EXE\" ProductName=\"Exe$n\" Location=\"SetupData\\Packages\\Exe$n.exe\" InstallCommand=\"/marker:$WORK_WIN\\Logs\\exe-runs.txt /name:Exe$n /exit:0\"/>"
  done
  cat > "$work/SetupData/Configuration/SetupConfig.xml" <<XML
<?xml version="1.0" encoding="utf-8"?>
<SetupConfig><General><BootstrapperRegistry Value="$key"/><RegisterableSetup Value="false"/>
<StyleConfigPath Value="SetupData\\Configuration\\StyleConfig.xml"/>
<MainDialogConfigPath Value="SetupData\\Configuration\\ConfigForMainDialog.xml"/>
<Logfile Name="$WORK_WIN\\Logs\\Setup.log" Level="DEVELOPERINFO" Mode="OVERWRITE" MaxLengthOfFile="5"/></General>
<Brand Name="Bench" Value="Bench" Default="true"><ImageFiles><Image Name="Banner" FilePath="b.bmp"/></ImageFiles></Brand>
<ProductList><ProductGroup DisplayName="Bench" Sequence="1" ShowInUI="true">$products</ProductGroup></ProductList></SetupConfig>
XML
  cat > "$work/SetupData/Configuration/SilentConfig.xml" <<XML
<?xml version="1.0" encoding="utf-8"?>
<SilentConfig><GeneralSettings><ShowErrorDialog Value="false"/><ShowIndicator Value="false"/></GeneralSettings>
<GeneralProperties><Property Id="INSTALLDIR" Value="C:\\BenchFloor\\Studio\\"/></GeneralProperties></SilentConfig>
XML
}
