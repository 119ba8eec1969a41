// Line shapes: positions placed by the world and view-projection matrices, drawn in one
// colour. Also draws wireframe patches and, where the device cannot tessellate, the patch
// triangles the program evaluates itself.

cbuffer TransformConstants : register(b0)
{
    float4x4 world;
    float4x4 viewProjection;
};

cbuffer ColourConstants : register(b1)
{
    float4 colour;
};

struct LineVertex
{
    float4 position : SV_POSITION;
};

LineVertex VS(float3 position : POSITION)
{
    LineVertex output;
    float4 placed = mul(float4(position, 1.0), world);
    output.position = mul(placed, viewProjection);
    return output;
}

float4 PS(LineVertex input) : SV_TARGET
{
    return colour;
}

// Shaded surfaces (the program's own patch triangles): a directional light from behind the
// camera; light.xyz is the direction the camera looks along. Lit from either side, since a
// patch's front is wherever its rows and columns put it; a quarter of the colour stays in
// the shade.
cbuffer LightConstants : register(b2)
{
    float4 light;
    float4 stripes; // zebra stripes: xyz the unit direction the bands run across, w bands
    // The curvature display: x 1 for the mean curvature, 0 for the Gaussian; y the scale's
    // low end; z one over its span.
    float4 curvatureScale;
};

struct ShadedVertex
{
    float4 position : SV_POSITION;
    float shade : TEXCOORD0;
};

ShadedVertex ShadedVS(float3 position : POSITION, float3 normal : NORMAL)
{
    ShadedVertex output;
    float4 placed = mul(float4(position, 1.0), world);
    output.position = mul(placed, viewProjection);
    float3 turned = normalize(mul(float4(normal, 0.0), world).xyz);
    output.shade = 0.25 + 0.75 * abs(dot(turned, light.xyz));
    return output;
}

float4 ShadedPS(ShadedVertex input) : SV_TARGET
{
    return float4(colour.rgb * input.shade, colour.a);
}

// Zebra stripes: light bands reflected in the surface, from the normal at each pixel (the
// same function as graphics/zebra-stripes.h): light.xyz is the view's direction.
struct ZebraVertex
{
    float4 position : SV_POSITION;
    float3 normal : TEXCOORD0;
};

ZebraVertex ZebraVS(float3 position : POSITION, float3 normal : NORMAL)
{
    ZebraVertex output;
    float4 placed = mul(float4(position, 1.0), world);
    output.position = mul(placed, viewProjection);
    output.normal = mul(float4(normal, 0.0), world).xyz;
    return output;
}

// Bands from the phase's triangle wave (Wine's shader compiler has neither cos nor calls to
// functions of the file's own): 1 in the middle of a light band, 0 in a dark one, with a
// narrow soft edge between. Dark bands keep an eighth of the state colour, so the
// selection still shows.
float4 ZebraPS(ZebraVertex input) : SV_TARGET
{
    if (dot(input.normal, input.normal) < 1e-20)
        return colour;
    float3 n = normalize(input.normal);
    float3 reflected = light.xyz - 2.0 * dot(light.xyz, n) * n;
    float phase = stripes.w * dot(reflected, stripes.xyz);
    float wave = abs(2.0 * (phase - floor(phase)) - 1.0);
    float band = saturate((wave - 0.5) * 8.0 + 0.5);
    return float4(colour.rgb * (0.125 + 0.875 * band), colour.a);
}

// Curvature false-coloured (graphics/curvature-colours.h): each vertex brings its Gaussian
// and mean curvature, placed on the scale here and coloured per pixel, blue at the low end,
// green in the middle and red at the high end; lit as the shaded display lights it.
struct CurvatureVertex
{
    float4 position : SV_POSITION;
    float shade : TEXCOORD0;
    float share : TEXCOORD1;
};

CurvatureVertex CurvatureVS(float3 position : POSITION, float3 normal : NORMAL,
                            float2 curvature : TEXCOORD0)
{
    CurvatureVertex output;
    float4 placed = mul(float4(position, 1.0), world);
    output.position = mul(placed, viewProjection);
    float3 turned = normalize(mul(float4(normal, 0.0), world).xyz);
    output.shade = 0.4 + 0.6 * abs(dot(turned, light.xyz));
    // x is 0 or 1 (a choice in arithmetic: Wine's compiler is safest with that).
    float value = curvature.x + curvatureScale.x * (curvature.y - curvature.x);
    output.share = (value - curvatureScale.y) * curvatureScale.z;
    return output;
}

float4 CurvaturePS(CurvatureVertex input) : SV_TARGET
{
    float share = saturate(input.share);
    float red = saturate(2.0 * share - 1.0);
    float blue = saturate(1.0 - 2.0 * share);
    float3 shown = float3(red, 1.0 - red - blue, blue);
    return float4(shown * input.shade, colour.a);
}
