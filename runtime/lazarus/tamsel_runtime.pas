{ The main unit of the Lazarus package tamsel_runtime, as Lazarus itself
  writes it. Lazarus compares this file with the one it would write (comments
  aside) before it compiles the package and rewrites it when they differ, so
  keep it as it is: an installed, read-only copy then builds unchanged. }

unit tamsel_runtime;

{$warn 5023 off : no warning about unused units}
interface

uses
  Tamsel_common;

implementation

end.
